#include "platform/durable_files.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zelk {

namespace {

std::error_code last_error() { return std::error_code(errno, std::generic_category()); }

}  // namespace

std::FILE* create_new_file(const std::string& path, const char* mode, std::optional<unsigned> permissions) {
  // O_EXCL refuses a name that is already there, a planted link included.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions.value_or(0666));
  if (fd < 0) return nullptr;
  // The umask may have taken bits the replaced file had; giving them back
  // only widens to what the old file already allowed.
  if (permissions && ::fchmod(fd, *permissions) != 0) {
    const int error = errno;
    ::close(fd);
    ::unlink(path.c_str());
    errno = error;
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, mode);
  if (file == nullptr) {
    const int error = errno;
    ::close(fd);
    ::unlink(path.c_str());
    errno = error;
  }
  return file;
}

bool flush_to_disk(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }

std::error_code move_into_place(const std::filesystem::path& from, const std::filesystem::path& to, bool replace) {
  if (replace) {
    if (::rename(from.c_str(), to.c_str()) != 0) return last_error();
  } else if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
    if (errno != EINVAL && errno != ENOSYS) return last_error();
    // A file system without the flag: a hard link fails just as atomically
    // on a name that is there.
    if (::link(from.c_str(), to.c_str()) != 0) return last_error();
    ::unlink(from.c_str());
  }
  return {};
}

void flush_folder(const std::string& folder) {
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor >= 0) {
    ::fsync(descriptor);
    ::close(descriptor);
  }
}

}  // namespace zelk

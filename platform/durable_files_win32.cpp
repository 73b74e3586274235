#include "platform/durable_files.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

namespace zelk {

std::FILE* create_new_file(const std::string& path, const char* mode, std::optional<unsigned>) {
  // Windows keeps who may read a file in the folder's inherited rights, not
  // in bits of the file: there is nothing to narrow here.
  const int binary = std::strchr(mode, 'b') != nullptr ? _O_BINARY : _O_TEXT;
  const int fd = ::_open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_NOINHERIT | binary, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = ::_fdopen(fd, mode);
  if (file == nullptr) {
    const int error = errno;
    ::_close(fd);
    ::_unlink(path.c_str());
    errno = error;
  }
  return file;
}

bool flush_to_disk(std::FILE* file) {
  const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
  if (handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(handle)) return true;
  errno = EIO;
  return false;
}

std::error_code move_into_place(const std::filesystem::path& from, const std::filesystem::path& to, bool replace) {
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  if (::MoveFileExW(from.c_str(), to.c_str(), flags)) return {};
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return std::make_error_code(std::errc::file_exists);
  return std::error_code(static_cast<int>(error), std::system_category());
}

void flush_folder(const std::string&) {}

}  // namespace zelk

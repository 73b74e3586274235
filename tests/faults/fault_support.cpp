#include "tests/faults/fault_support.h"

#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace zelk::faults {

namespace fs = std::filesystem;

namespace {

// nobody/nogroup on Debian; any id without rights of its own will do.
constexpr uid_t kUnprivilegedUser = 65534;
constexpr gid_t kUnprivilegedGroup = 65534;

constexpr long kChildFileLimit = 64L << 20;
constexpr unsigned kChildSeconds = 30;

std::string errno_text(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

FaultFolder::FaultFolder() {
  std::string pattern = (fs::temp_directory_path() / "zelk-faults-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error(errno_text("mkdtemp"));
  path_ = name.data();
}

FaultFolder::~FaultFolder() {
  std::error_code ec;
  // Tests take away write and search rights; give them back so that the
  // folder can go.
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    if (it->is_directory(ec)) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

GenerateRequest request_for(const std::string& listing, const std::string& page, const std::string& ll_field) {
  GenerateRequest request;
  request.has_input_file = true;
  request.input_path = listing, request.output_path = page, request.ll_field_text = ll_field;
  request.mention_view_button = false;
  return request;
}

std::string names_in(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : " ") + name;
  return joined;
}

void FaultFolder::hand_to_unprivileged_user() const {
  if (::geteuid() != 0) return;
  ::lchown(path_.c_str(), kUnprivilegedUser, kUnprivilegedGroup);
  for (const auto& entry : fs::recursive_directory_iterator(path_))
    ::lchown(entry.path().c_str(), kUnprivilegedUser, kUnprivilegedGroup);
  // mkdtemp made the folder private to its creator.
  ::chmod(path_.c_str(), 0755);
}

void write_file(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string run_in_child(const std::string& folder, const std::function<std::string()>& body) {
  int channel[2];
  if (::pipe(channel) != 0) return errno_text("pipe");
  std::fflush(nullptr);
  pid_t child = ::fork();
  if (child < 0) return errno_text("fork");
  if (child == 0) {
    ::close(channel[0]);
    // A fault that sends the program astray (a page of a million fields)
    // must end the case, not fill the disk or run forever.
    limit_file_size(kChildFileLimit);
    ::alarm(kChildSeconds);
    std::string report;
    // An exception must not unwind into the test runner's copy in the child.
    try {
      report = ::chdir(folder.c_str()) == 0 ? body() : errno_text("chdir");
    } catch (const std::exception& e) {
      report = std::string("child threw: ") + e.what();
    } catch (...) {
      report = "child threw";
    }
    for (std::size_t done = 0; done < report.size();) {
      ssize_t n = ::write(channel[1], report.data() + done, report.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    // No exit handlers: the parent's gtest state and leak checks are not ours.
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    report.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(channel[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status)) return "child died of signal " + std::to_string(WTERMSIG(status)) + " (" +
                                  strsignal(WTERMSIG(status)) + ") after: " + report;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return "child exited with " + std::to_string(WEXITSTATUS(status)) + " after: " + report;
  return report;
}

std::string become_unprivileged_user() {
  if (::geteuid() != 0) return std::string();
  if (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedGroup) != 0 || ::setuid(kUnprivilegedUser) != 0)
    return "SKIP: cannot switch to an unprivileged user (" + errno_text("setuid") + ")";
  return std::string();
}

std::string limit_file_size(long bytes) {
  // The kernel signals SIGXFSZ before failing the write; the program must
  // see the failed write, as it would on a full disk.
  ::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return "SKIP: " + errno_text("setrlimit");
  return std::string();
}

std::string mount_small_file_system(const std::string& folder, int kilobytes) {
  // A mount namespace of the child's own: the mount vanishes with the child
  // and nobody else sees it.
  if (::unshare(CLONE_NEWNS) != 0)
    return "SKIP: mounting a small file system is not permitted here (" + errno_text("unshare") + ")";
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return "SKIP: " + errno_text("making mounts private");
  std::string options = "size=" + std::to_string(kilobytes) + "k";
  if (::mount("zelk-faults", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0)
    return "SKIP: mounting tmpfs is not permitted here (" + errno_text("mount") + ")";
  return std::string();
}

std::string visible(const std::string& text) {
  std::string shown;
  for (unsigned char c : text) {
    char code[8];
    std::snprintf(code, sizeof code, c == '\n' ? "\\n" : c < 0x20 || c >= 0x7F ? "\\x%02X" : "%c", c);
    shown += code;
  }
  return shown;
}

}  // namespace zelk::faults

#include "conversion/file_paths.h"

#include <filesystem>
#include <system_error>

namespace zelk {

namespace {

#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

std::size_t name_start(const std::string& path) {
  std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::string::npos ? 0 : separator + 1;
}

}  // namespace

std::string file_name_of(const std::string& path) { return path.substr(name_start(path)); }

std::string folder_of(const std::string& path) { return path.substr(0, name_start(path)); }

std::string page_name_for(const std::string& file_name, const std::string& suffix) {
  std::size_t dot = file_name.rfind('.');
  return file_name.substr(0, dot) + suffix + ".html";
}

std::string running_program_path() {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : path.string();
}

}  // namespace zelk

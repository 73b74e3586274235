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

bool same_file(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  if (a.empty() || b.empty()) return false;
  std::error_code ec, other;
  if (fs::exists(a, ec) && fs::exists(b, other)) {
    const bool same = fs::equivalent(a, b, ec);
    return same && !ec;
  }
  const fs::path resolved_a = fs::weakly_canonical(fs::absolute(a, ec), ec);
  const fs::path resolved_b = fs::weakly_canonical(fs::absolute(b, other), other);
  return !ec && !other && resolved_a == resolved_b;
}

std::string running_program_path() {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : path.string();
}

}  // namespace zelk

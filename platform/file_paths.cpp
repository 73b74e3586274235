#include "platform/file_paths.h"

#include <cstdlib>
#include <exception>
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

std::size_t system_path_length(const std::string& path) {
#ifdef _WIN32
  // Each character starts with a byte that is no continuation byte; one
  // beyond the 16-bit range (a 4-byte sequence) takes two UTF-16 units.
  std::size_t units = 0;
  for (unsigned char byte : path) units += (byte & 0xC0) == 0x80 ? 0 : byte >= 0xF0 ? 2 : 1;
  return units;
#else
  return path.size();
#endif
}

std::error_code system_reason(std::error_code reason) {
#ifdef _WIN32
  if (reason == std::errc::permission_denied && _doserrno != 0)
    return std::error_code(static_cast<int>(_doserrno), std::system_category());
#endif
  return reason;
}

bool is_reserved_device_name([[maybe_unused]] const std::string& path) {
#ifdef _WIN32
  std::string name = file_name_of(path);
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  for (char& c : name) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (name == "NUL" || name == "CON" || name == "PRN" || name == "AUX") return true;
  return name.size() == 4 && (name.starts_with("COM") || name.starts_with("LPT")) && name[3] >= '1' && name[3] <= '9';
#else
  return false;
#endif
}

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
  const fs::path path_a = path_of(a), path_b = path_of(b);
  if (fs::exists(path_a, ec) && fs::exists(path_b, other)) {
    const bool same = fs::equivalent(path_a, path_b, ec);
    return same && !ec;
  }
  const fs::path resolved_a = fs::weakly_canonical(fs::absolute(path_a, ec), ec);
  const fs::path resolved_b = fs::weakly_canonical(fs::absolute(path_b, other), other);
  return !ec && !other && resolved_a == resolved_b;
}

std::filesystem::path path_of(const std::string& name) {
#ifdef _WIN32
  try {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
  } catch (const std::exception&) {
    // Not UTF-8, so it names no file the system could have given us.
    return std::filesystem::path(name);
  }
#else
  return std::filesystem::path(name);
#endif
}

std::string name_of(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string name = path.u8string();
  return std::string(name.begin(), name.end());
#else
  return path.string();
#endif
}

std::string running_program_path() {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : path.string();
}

}  // namespace zelk

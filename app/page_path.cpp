#include "app/page_path.h"

namespace zelk {

namespace {

#ifdef _WIN32
constexpr const char* kSeparators = "\\/";
#else
constexpr const char* kSeparators = "/";
#endif

}  // namespace

std::string file_name_of(const std::string& path) {
  std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string page_name_for(const std::string& file_name) {
  std::size_t dot = file_name.rfind('.');
  return (dot == std::string::npos ? file_name : file_name.substr(0, dot)) + ".html";
}

}  // namespace zelk

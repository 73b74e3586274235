// The tests' shared helpers. ctest runs tests in parallel, each in a process
// of its own, so every test gets a scratch folder of its own, removed with it.
#pragma once

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/file_paths.h"
#include "conversion/generate.h"
#include "record/settings_record.h"

namespace zelk::test {

inline std::vector<std::string> names_in(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(name_of(entry.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

class ScratchFolder {
 public:
  ScratchFolder() : path_(std::filesystem::temp_directory_path() / ("zelk-" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  // Names as the program takes them: UTF-8 on Windows too.
  std::string operator/(const std::string& name) const { return name_of(path_ / path_of(name)); }
  std::string path() const { return name_of(path_); }
  std::vector<std::string> names() const { return names_in(path_); }

 private:
  std::filesystem::path path_;
};

// Creates the folders on the way.
inline void write_file(const std::string& path, const std::string& bytes) {
  const std::filesystem::path folder = path_of(path).parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder);
  std::ofstream(path, std::ios::binary) << bytes;
}

// Text mode reads a page's CR LF as LF on Windows, as the goldens hold it.
inline std::string read_file(const std::string& path, std::ios::openmode mode = std::ios::binary) {
  std::ifstream in(path, mode);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// An unnamed file holding `bytes`, read from its start; the caller closes it.
inline std::FILE* stream_of(const std::string& bytes) {
  std::FILE* stream = std::tmpfile();
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::rewind(stream);
  return stream;
}

inline SettingsRecord record_for(int band_index, const char* lower_left_field = "") {
  SettingsRecord record;
  reset_to_defaults(record);
  record.band_index = band_index;
  std::snprintf(record.lower_left_field, sizeof record.lower_left_field, "%s", lower_left_field);
  return record;
}

// A listing chosen and a field typed, as the dialog asks.
inline GenerateRequest request_for(const std::string& listing, const std::string& page, const std::string& ll_field) {
  GenerateRequest request;
  request.has_input_file = true;
  request.input_path = listing;
  request.output_path = page;
  request.ll_field_text = ll_field;
  return request;
}

// The text as UTF-16 with its byte-order mark, as spreadsheets save "Unicode text".
inline std::string utf16(std::u16string_view text, bool little_endian) {
  std::string bytes = little_endian ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t unit : text) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    bytes += little_endian ? std::string{low, high} : std::string{high, low};
  }
  return bytes;
}

// Wine, like Windows without developer mode, makes no symbolic links: the
// cases that need one are left out there.
inline bool make_symlink(const std::string& target, const std::string& link) {
  std::error_code ec;
  std::filesystem::create_symlink(target, link, ec);
  return !ec;
}

// A path as the system joins a folder and a name ("out\\grids.html" on Windows).
inline std::string joined(const std::string& folder, const std::string& name) {
  return name_of(path_of(folder) / path_of(name));
}

}  // namespace zelk::test

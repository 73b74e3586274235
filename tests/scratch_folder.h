// Scratch files for the core's tests. ctest runs each test in a process of its
// own and in parallel, so every test gets a folder of its own, removed with it.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zelk::test {

class ScratchFolder {
 public:
  ScratchFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() / (std::string("zelk-") + test->test_suite_name() + "-" +
                                                      test->name() + "-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::string path() const { return path_.string(); }
  std::vector<std::string> names() const {  // sorted
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Text mode reads a page's CR LF as LF on Windows, so pages compare with the goldens there too.
inline std::string read_file(const std::string& path, std::ios::openmode mode = std::ios::binary) {
  std::ifstream in(path, mode);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace zelk::test

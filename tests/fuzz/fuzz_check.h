// Shared by the fuzz targets: a check that aborts on the input at hand (so
// libFuzzer keeps it as a crash), a scratch folder removed at exit, a writer.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#define FUZZ_CHECK(condition) \
  ((condition) ? void() : (std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition), std::abort()))

namespace zelk::fuzz {

inline const std::string& scratch_folder() {
  static const struct Scratch {
    std::string path = (std::filesystem::temp_directory_path() / ("zelk-fuzz-" + std::to_string(::getpid()))).string();
    Scratch() { std::filesystem::create_directories(path); }
    ~Scratch() { std::error_code ec; std::filesystem::remove_all(path, ec); }
  } scratch;
  return scratch.path;
}

inline void write_file(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  FUZZ_CHECK((out << bytes).flush().good());
}

}  // namespace zelk::fuzz

// What every fuzz target shares: a check that stops the run on the input at
// hand (libFuzzer then keeps that input as a crash), and the process's own
// scratch folder under TMPDIR, made on first use and removed at exit.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace zelk::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, what);
  std::abort();
}

inline const std::string& scratch_folder() {
  static const struct Scratch {
    std::string path = (std::filesystem::temp_directory_path() / ("zelk-fuzz-" + std::to_string(::getpid()))).string();
    Scratch() { std::filesystem::create_directories(path); }
    ~Scratch() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
  } scratch;
  return scratch.path;
}

}  // namespace zelk::fuzz

#define FUZZ_CHECK(condition)                                               \
  do {                                                                      \
    if (!(condition)) ::zelk::fuzz::fail(#condition, __FILE__, __LINE__);   \
  } while (false)

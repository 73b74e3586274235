// What every fuzz target shares: a check that stops the run on the input at
// hand (libFuzzer then keeps that input as a crash), and the scratch folder
// of the process.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

namespace zelk::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, what);
  std::abort();
}

// A folder of this process's own under TMPDIR, made on first use.
const std::string& scratch_folder();

}  // namespace zelk::fuzz

#define FUZZ_CHECK(condition)                                               \
  do {                                                                      \
    if (!(condition)) ::zelk::fuzz::fail(#condition, __FILE__, __LINE__);   \
  } while (false)

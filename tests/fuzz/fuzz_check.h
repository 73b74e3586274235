// Shared by the fuzz targets: a check that aborts on the input at hand, so
// libFuzzer keeps it as a crash; the tests' scratch folder and writer.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "tests/test_helpers.h"

#define FUZZ_CHECK(condition) \
  ((condition) ? void() : (std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition), std::abort()))

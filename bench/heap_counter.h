// Live and peak heap bytes of the benchmark process, counted by its own
// malloc, realloc and free (glibc).
#pragma once

#include <atomic>

namespace zelk::bench {

extern std::atomic<long long> live_bytes;
extern std::atomic<long long> peak_bytes;

}  // namespace zelk::bench

// Live and peak heap bytes of the benchmark process, counted by its own
// operator new and delete: the index and the reader allocate through them.
#pragma once

#include <atomic>

namespace zelk::bench {

extern std::atomic<long long> live_bytes;
extern std::atomic<long long> peak_bytes;

}  // namespace zelk::bench

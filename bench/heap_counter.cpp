// The global operator new and delete, replaced for the whole process. Kept
// in a file of their own so the compiler cannot inline them into callers.
#include "bench/heap_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace zelk::bench {

std::atomic<long long> live_bytes{0};
std::atomic<long long> peak_bytes{0};

}  // namespace zelk::bench

using zelk::bench::live_bytes;
using zelk::bench::peak_bytes;

void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  const long long now = live_bytes += static_cast<long long>(malloc_usable_size(block));
  long long peak = peak_bytes.load();
  while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
  }
  return block;
}

void operator delete(void* block) noexcept {
  if (block != nullptr) live_bytes -= static_cast<long long>(malloc_usable_size(block));
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

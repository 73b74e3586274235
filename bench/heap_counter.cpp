// Kept in a file of its own so the compiler cannot inline the replaced
// operators into their callers (and then mistake malloc/free for a mismatch).
#include "bench/heap_counter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace zelk::bench {

std::atomic<long long> live_bytes{0};
std::atomic<long long> peak_bytes{0};

}  // namespace zelk::bench

using zelk::bench::live_bytes;
using zelk::bench::peak_bytes;

// A size header keeps the count exact across delete.
void* operator new(std::size_t size) {
  auto* block = static_cast<std::size_t*>(std::malloc(size + sizeof(std::max_align_t)));
  if (block == nullptr) throw std::bad_alloc();
  *block = size;
  long long now = live_bytes += static_cast<long long>(size);
  long long peak = peak_bytes.load();
  while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
  }
  return reinterpret_cast<char*>(block) + sizeof(std::max_align_t);
}
void operator delete(void* pointer) noexcept {
  if (pointer == nullptr) return;
  auto* block = reinterpret_cast<std::size_t*>(static_cast<char*>(pointer) - sizeof(std::max_align_t));
  live_bytes -= static_cast<long long>(*block);
  std::free(block);
}
void operator delete(void* pointer, std::size_t) noexcept { operator delete(pointer); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* pointer) noexcept { operator delete(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { operator delete(pointer); }

// The C library's allocation functions, replaced for the whole process so
// that every heap byte counts: operator new and the index's realloc alike.
// Each replacement hands on to the C library's own and adds up the usable
// size of what it got back. Kept in a file of its own so the compiler cannot
// inline them into their callers.
#include "bench/heap_counter.h"

#include <malloc.h>

#include <cstddef>

namespace zelk::bench {

std::atomic<long long> live_bytes{0};
std::atomic<long long> peak_bytes{0};

}  // namespace zelk::bench

using zelk::bench::live_bytes;
using zelk::bench::peak_bytes;

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace {

void* counted(void* pointer) {
  if (pointer == nullptr) return nullptr;
  long long now = live_bytes += static_cast<long long>(malloc_usable_size(pointer));
  long long peak = peak_bytes.load();
  while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
  }
  return pointer;
}

void uncount(void* pointer) {
  if (pointer != nullptr) live_bytes -= static_cast<long long>(malloc_usable_size(pointer));
}

}  // namespace

extern "C" {
void* malloc(std::size_t size) { return counted(__libc_malloc(size)); }
void* calloc(std::size_t count, std::size_t size) { return counted(__libc_calloc(count, size)); }
void* realloc(void* pointer, std::size_t size) {
  uncount(pointer);
  void* moved = __libc_realloc(pointer, size);
  // A failed realloc keeps the old block.
  return counted(moved != nullptr || size == 0 ? moved : pointer);
}
void free(void* pointer) {
  uncount(pointer);
  __libc_free(pointer);
}
void* memalign(std::size_t alignment, std::size_t size) { return counted(__libc_memalign(alignment, size)); }
void* aligned_alloc(std::size_t alignment, std::size_t size) { return memalign(alignment, size); }
int posix_memalign(void** pointer, std::size_t alignment, std::size_t size) {
  void* block = memalign(alignment, size);
  if (block == nullptr) return 12;  // ENOMEM
  *pointer = block;
  return 0;
}
}

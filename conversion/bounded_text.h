// Bounded writes into the fixed character arrays of the settings record and
// the message buffers. Every helper leaves its destination terminated and
// never writes past it, whatever the length of its input.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace zelk {

// vsnprintf into a fixed array; the result is cut at the array's end.
#if defined(__GNUC__)
__attribute__((format(printf, 3, 4)))
#endif
inline void format_into(char* dest, std::size_t size, const char* format, ...) {
  if (size == 0) return;
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(dest, size, format, args);
  va_end(args);
  if (n < 0) dest[0] = '\0';
}

// Copies at most size - 1 bytes of source and terminates.
inline void copy_into(char* dest, std::size_t size, const char* source) {
  if (size == 0) return;
  std::size_t n = std::strlen(source);
  if (n >= size) n = size - 1;
  std::memcpy(dest, source, n);
  dest[n] = '\0';
}

// Appends as much of piece as keeps the text within limit bytes, terminator
// included. A text already at the limit is left as it is.
inline void append_within(char* dest, std::size_t limit, const char* piece) {
  std::size_t used = std::strlen(dest);
  if (used + 1 >= limit) return;
  copy_into(dest + used, limit - used, piece);
}

template <std::size_t N>
void copy_into(char (&dest)[N], const char* source) {
  copy_into(dest, N, source);
}

}  // namespace zelk

// Bounded writes into the fixed character arrays of the settings record and
// the message buffers. Every helper leaves its destination terminated and
// never writes past it, whatever the length of its input.
//
// Names are UTF-8 on Windows and usually on Linux: a text cut to fit ends
// before a character that would not fit whole, so a message box or a later
// read never meets half a character.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace zelk {

// The length of the first `length` bytes of text once a UTF-8 sequence left
// incomplete at their end is dropped. Bytes that are not UTF-8 (a Latin-1
// name on Linux) are kept as they are, apart from a lead byte that looks cut.
inline std::size_t whole_characters(const char* text, std::size_t length) {
  std::size_t start = length;
  // A sequence is at most four bytes: its lead and up to three continuations.
  while (start > 0 && length - start < 3 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) --start;
  if (start == 0) return length;
  const unsigned char lead = static_cast<unsigned char>(text[start - 1]);
  const std::size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  return length - (start - 1) < needed ? start - 1 : length;
}

// vsnprintf into a fixed array; the result is cut at the array's end. False
// when it was cut.
#if defined(__GNUC__)
__attribute__((format(printf, 3, 4)))
#endif
inline bool format_into(char* dest, std::size_t size, const char* format, ...) {
  if (size == 0) return false;
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(dest, size, format, args);
  va_end(args);
  if (n < 0) {
    dest[0] = '\0';
    return false;
  }
  if (static_cast<std::size_t>(n) < size) return true;
  dest[whole_characters(dest, size - 1)] = '\0';
  return false;
}

// Copies at most size - 1 bytes of source and terminates.
inline void copy_into(char* dest, std::size_t size, const char* source) {
  if (size == 0) return;
  std::size_t n = std::strlen(source);
  if (n >= size) n = whole_characters(source, size - 1);
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

// Ends a field read from a file within its array; a field that fills the
// array is cut there.
template <std::size_t N>
void terminate_within(char (&field)[N]) {
  if (std::memchr(field, '\0', N) == nullptr) field[whole_characters(field, N - 1)] = '\0';
}

}  // namespace zelk

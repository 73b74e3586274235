// Text between the program and the "W" side of Windows. The program keeps
// text in its process's code page: UTF-8 where the manifest takes effect
// (Windows 10 1903 and later), the system's ANSI code page before. A name
// converted to UTF-8 on an older system would name no file there.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace zelk {

inline std::wstring wide_text(std::string_view text, UINT code_page = GetACP()) {
  const int size = static_cast<int>(text.size());
  const int length = size > 0 ? MultiByteToWideChar(code_page, 0, text.data(), size, nullptr, 0) : 0;
  std::wstring wide(length > 0 ? length : 0, L'\0');
  if (length > 0) MultiByteToWideChar(code_page, 0, text.data(), size, wide.data(), length);
  return wide;
}

// A character the code page cannot write becomes "?", as Windows' own "A"
// functions give it.
inline std::string code_page_text(std::wstring_view wide, UINT code_page = GetACP()) {
  const int size = static_cast<int>(wide.size());
  const int bytes = size > 0 ? WideCharToMultiByte(code_page, 0, wide.data(), size, nullptr, 0, nullptr, nullptr) : 0;
  std::string text(bytes > 0 ? bytes : 0, '\0');
  if (bytes > 0) WideCharToMultiByte(code_page, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
  return text;
}

}  // namespace zelk

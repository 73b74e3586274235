// Messages of the command line on a Windows console. Names are text in the
// active code page (UTF-8 under the program's manifest); the C runtime would
// hand them to the console in its own locale, and a console code page set
// here would outlast the program in the user's window. So a line goes to the
// console as UTF-16, and output to a file or a pipe stays as it is.
#pragma once

#include <windows.h>

#include "app/win32/code_page_text.h"

#include <ostream>
#include <streambuf>
#include <string>

namespace zelk {

class ConsoleLines : public std::streambuf {
 public:
  // `console` is a standard handle that is a console.
  explicit ConsoleLines(HANDLE console) : console_(console) {}
  ~ConsoleLines() override { write_line(); }

  // The console behind a standard handle, or null when it leads elsewhere.
  static HANDLE console_of(DWORD standard_handle) {
    HANDLE handle = GetStdHandle(standard_handle);
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
  }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    line_ += traits_type::to_char_type(c);
    // Whole lines only: a character never reaches the console in halves.
    if (c == '\n') write_line();
    return c;
  }
  int sync() override {
    write_line();
    return 0;
  }

 private:
  void write_line() {
    if (line_.empty()) return;
    const std::wstring wide = wide_text(line_);
    DWORD written = 0;
    WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    line_.clear();
  }

  HANDLE console_;
  std::string line_;
};

}  // namespace zelk

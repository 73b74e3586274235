#include "mappage/html.h"

#include <charconv>
#include <cstring>

namespace zelk {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`; 0
// when it is not one (a stray byte, an overlong form, a surrogate, past U+10FFFF).
std::size_t utf8_length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 0;
  // The second byte's range rules out the overlong forms, the surrogates and what lies past U+10FFFF.
  const unsigned char second = byte(1);
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second > 0x8F))
    return 0;
  return length;
}

}  // namespace

void write_document_start(std::FILE* out, const std::string& title) {
  std::fputs("<!DOCTYPE html>\n<html lang='en'>\n<head>\n<meta charset='utf-8'>\n", out);
  std::fprintf(out, "<title>%s</title>\n", title.c_str());
}

std::string html_escaped(std::string_view text) {
  std::string escaped;
  while (!text.empty()) {
    const std::size_t length = utf8_length(text);
    switch (length == 0 ? '\0' : text[0]) {
      case '\0': escaped += length == 0 ? "\xEF\xBF\xBD" : std::string_view(text.data(), 1); break;
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += text.substr(0, length);
    }
    text.remove_prefix(length == 0 ? 1 : length);
  }
  return escaped;
}

std::string url_escaped(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                            (byte >= '0' && byte <= '9') || (byte != 0 && std::strchr("-._~", c) != nullptr);
    if (unreserved) {
      escaped += c;
    } else {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 15];
    }
  }
  return escaped;
}

std::string css_percent(double value) {
  char text[32];
  const std::to_chars_result end = std::to_chars(text, text + sizeof text - 1, value, std::chars_format::fixed, 1);
  *end.ptr = '%';
  return std::string(text, end.ptr + 1);
}

}  // namespace zelk

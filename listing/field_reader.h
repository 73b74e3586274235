// Reads a listing's lines a field at a time, for the listing reader and
// the contest-log reader of this folder; not for use outside it.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

namespace zelk {

// Hands out a listing's lines a field at a time and holds none of them: a
// caller keeps of each field what it needs, so that a line of any length
// costs no memory. A line ends at LF or at CR, so CR LF ends a line and
// then an empty one, which names nothing. Fields are separated by commas,
// or by the semicolon or tab that follows the header's first field, as
// spreadsheets save them; a field that begins with a double quote runs to
// its closing quote, over separators and line ends, and "" in it is one
// quote. UTF-16 with a byte-order mark is read as the UTF-8 it stands for.
class FieldReader {
 public:
  explicit FieldReader(std::FILE* stream) : stream_(stream) {}

  // Steps past what is left of the line at hand; false at the end of the
  // listing. A line cut by the end of the listing is still a line.
  bool next_line() {
    while (line_open_) field();
    if (!available()) return false;
    // Spreadsheets put a UTF-8 byte-order mark before the header of a "CSV UTF-8" file.
    if (!started_ && std::string_view(buffer_ + position_, length_ - position_).starts_with("\xEF\xBB\xBF"))
      position_ += 3;
    started_ = true;
    line_open_ = true;
    return true;
  }

  // Reads the line's next field and steps past its end, keeping in `kept`
  // its first `most` bytes, or fewer up to its first NUL when `nul_ends`.
  // True when a separator ended it, so that another field follows.
  bool field(std::string* kept = nullptr, std::size_t most = 0, bool nul_ends = false) {
    if (kept != nullptr) kept->clear();
    bool keeping = kept != nullptr;
    // Inlined: the loop below runs once for every field of a listing.
    auto keep = [&](const char* start, const char* stop) __attribute__((always_inline)) {
      if (!keeping) return;
      const char* const taken = start + std::min(static_cast<std::size_t>(stop - start), most - kept->size());
      const char* const nul = nul_ends ? std::find(start, taken, '\0') : taken;
      kept->append(start, static_cast<std::size_t>(nul - start));
      keeping = nul == taken;  // once `most` are kept, the rest takes none
    };
    if (line_open_ && available() && buffer_[position_] == '"') [[unlikely]] {
      for (++position_; available();) {
        const char* const start = buffer_ + position_;
        const char* const end = buffer_ + length_;
        const char* const quote = std::find(start, end, '"');
        keep(start, quote);
        position_ = static_cast<std::size_t>(quote - buffer_);
        if (quote == end) continue;
        ++position_;
        if (!available() || buffer_[position_] != '"') break;  // the closing quote
        keep(quote, quote + 1);
        ++position_;
      }
    }
    // The field, or what follows its closing quote, up to the separator.
    while (line_open_ && available()) {
      const char* const start = buffer_ + position_;
      const char* const end = buffer_ + length_;
      const char* const stop = std::find_if(start, end, [this](char c) { return is_field_end(c); });
      if (keeping) keep(start, stop);
      position_ = static_cast<std::size_t>(stop - buffer_);
      if (stop != end) {
        ++position_;
        if (*stop == separator_) return true;
        break;
      }
    }
    line_open_ = false;
    return false;
  }

  // Whether the line at hand begins with `text`, reading nothing: a
  // listing's first line is in the buffer whole, unless it is that long.
  bool line_starts_with(std::string_view text) {
    return available() && std::string_view(buffer_ + position_, length_ - position_).starts_with(text);
  }

  // The rest of the line at hand, whatever separates its fields, and steps
  // past its end; keeps its first `most` bytes.
  void rest_of_line(std::string& kept, std::size_t most) {
    kept.clear();
    while (line_open_ && available()) {
      const char* const start = buffer_ + position_;
      const char* const end = buffer_ + length_;
      const char* const stop = std::find_if(start, end, [](char c) { return c == '\n' || c == '\r'; });
      kept.append(start, start + std::min(static_cast<std::size_t>(stop - start), most - kept.size()));
      position_ = static_cast<std::size_t>(stop - buffer_);
      if (stop != end) {
        ++position_;
        line_open_ = false;
      }
    }
    line_open_ = false;
  }

  // Whether the line's first field is exactly `Grid` or `Prefix`, reading
  // no more of it than those take: a listing of endless zeros ends here. The
  // separator after it is the listing's; `more` tells whether other fields
  // follow. Else `seen` holds the start of the line, for the hint.
  bool key_field(bool& more, std::string& seen) {
    const bool quoted = available() && buffer_[position_] == '"';
    position_ += quoted;
    std::string key;
    while (line_open_ && key.size() <= 24 && available() && buffer_[position_] != '\n' && buffer_[position_] != '\r' &&
           !(quoted ? buffer_[position_] == '"' : key_end(buffer_[position_])))
      key += buffer_[position_++];
    const bool closed = !quoted || (available() && buffer_[position_] == '"' && ++position_ > 0);
    seen = closed ? key : '"' + key;
    while (available() && seen.size() <= key.size() && buffer_[position_] != '\n' && buffer_[position_] != '\r')
      seen += buffer_[position_++];  // the character after the key
    if (!closed || (key != "Grid" && key != "Prefix")) return false;
    const char after = seen.size() > key.size() ? seen.back() : '\0';
    if (after == ';' || after == '\t') separator_ = after;
    more = after == separator_ || (after != '\0' && field());
    return true;
  }

 private:
  static bool key_end(char c) { return c == ',' || c == ';' || c == '\t'; }
  bool is_field_end(char c) const { return c == separator_ || c == '\n' || c == '\r'; }

  bool available() { return position_ < length_ || refill(); }

  // Reads on; false at the end of the listing.
  [[gnu::noinline]] bool refill() {
    position_ = 0;
    length_ = utf16_ == 0 ? std::fread(buffer_, 1, sizeof buffer_, stream_) : decode_utf16();
    if (!started_ && utf16_ == 0 && length_ >= 2 && (std::string_view(buffer_, 2) == "\xFF\xFE" ||
                                                     std::string_view(buffer_, 2) == "\xFE\xFF")) {
      utf16_ = buffer_[0] == '\xFF' ? 1 : 2;  // little- or big-endian
      raw_length_ = length_ - 2;
      std::copy(buffer_ + 2, buffer_ + length_, raw_);
      length_ = decode_utf16();
    }
    return length_ > 0;  // a read error ends the listing like its end does
  }

  // Turns the UTF-16 units read so far into UTF-8 in `buffer_`; a unit of no
  // character (a lone surrogate) becomes U+FFFD, an odd last byte nothing.
  std::size_t decode_utf16() {
    std::size_t out = 0;
    for (;;) {
      if (raw_length_ - raw_position_ < 4 && !raw_ended_) {
        std::copy(raw_ + raw_position_, raw_ + raw_length_, raw_);
        raw_length_ -= raw_position_;
        raw_position_ = 0;
        const std::size_t read = std::fread(raw_ + raw_length_, 1, sizeof raw_ - raw_length_, stream_);
        raw_ended_ = read == 0;
        raw_length_ += read;
      }
      if (raw_length_ - raw_position_ < 2 || out + 4 > sizeof buffer_) return out;
      auto unit = [&](std::size_t at) -> char32_t {
        const auto first = static_cast<unsigned char>(raw_[at]), second = static_cast<unsigned char>(raw_[at + 1]);
        return utf16_ == 1 ? first | second << 8 : first << 8 | second;
      };
      char32_t c = unit(raw_position_);
      raw_position_ += 2;
      if (c >= 0xD800 && c < 0xDC00 && raw_length_ - raw_position_ >= 2 && unit(raw_position_) >= 0xDC00 &&
          unit(raw_position_) < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (unit(raw_position_) - 0xDC00);
        raw_position_ += 2;
      } else if (c >= 0xD800 && c < 0xE000) {
        c = 0xFFFD;
      }
      const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
      buffer_[out++] = static_cast<char>(extra == 0 ? c : (0xF0 << (3 - extra) & 0xFF) | c >> (6 * extra));
      for (int i = extra - 1; i >= 0; --i) buffer_[out++] = static_cast<char>(0x80 | ((c >> (6 * i)) & 0x3F));
    }
  }

  std::FILE* stream_;
  char buffer_[1 << 15];
  std::size_t position_ = 0;
  std::size_t length_ = 0;
  bool started_ = false;
  bool line_open_ = false;
  char separator_ = ',';
  int utf16_ = 0;  // 0 none, 1 little-endian, 2 big-endian
  char raw_[sizeof buffer_];  // the first read's bytes, then UTF-16 still to turn
  std::size_t raw_position_ = 0, raw_length_ = 0;
  bool raw_ended_ = false;
};

}  // namespace zelk

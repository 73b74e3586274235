#include "listing/listing_reader.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "conversion/bounded_text.h"
#include "listing/band_table.h"

namespace zelk {

namespace {

// A row's grid, `length` bytes without a NUL, and its status letter.
struct IndexRow {
  const char* key;
  std::size_t length;
  char status_letter;
};

// Hands out a listing's lines field by field, with a buffer of its own so
// that lines of any length cost nothing but the fields the caller keeps.
class LineScanner {
 public:
  explicit LineScanner(std::FILE* stream) : stream_(stream) {}

  enum Event { kChar, kFieldEnd, kLineEnd, kEndOfFile };

  // The next event; for kChar, the character is in `c`. A line that is cut
  // by the end of the file still ends with kLineEnd before kEndOfFile.
  Event next(char& c) {
    int byte = get();
    if (byte == EOF) {
      if (in_line_) {
        in_line_ = false;
        return kLineEnd;
      }
      return kEndOfFile;
    }
    in_line_ = true;
    if (byte == ',') return kFieldEnd;
    if (byte == '\n' || byte == '\r') {
      if (byte == '\r' && peek() == '\n') get();
      in_line_ = false;
      return kLineEnd;
    }
    c = static_cast<char>(byte);
    return kChar;
  }

  // Reads the data rows to the end of the listing and hands the rows that
  // have a grid and a letter in `band_column` to on_rows(rows, count), in
  // groups, the grids not terminated. Bytes are passed over a word at a
  // time, and a grid is copied only when it is cut by the end of the buffer:
  // on a large listing this loop is most of the reading.
  template <typename OnRows>
  void read_rows(int band_column, OnRows on_rows) {
    IndexRow group[64];  // grids in the buffer, handed on before it is refilled
    std::size_t grouped = 0;
    const auto hand_on = [&] {
      if (grouped > 0) on_rows(group, grouped);
      grouped = 0;
    };
    const char* grid = nullptr;  // the grid text in the buffer, or else
    std::size_t grid_length = 0;
    std::string carried;  // the text begun before the buffer was refilled
    bool grid_cut = false;  // a NUL ends the grid text, as it ends a C string
    int column = 0;
    char status_letter = '\0';
    bool has_status = false;
    bool after_cr = false;  // a LF right after a CR ends nothing more
    const auto end_line = [&] {
      if (has_status) {
        if (grid != nullptr && grid_length > 0) {
          group[grouped++] = IndexRow{grid, grid_length, status_letter};
          if (grouped == std::size(group)) hand_on();
        }
        if (grid == nullptr && !carried.empty()) {
          hand_on();
          const IndexRow row{carried.data(), carried.size(), status_letter};
          on_rows(&row, 1);
        }
      }
      grid = nullptr;
      grid_length = 0;
      carried.clear();
      grid_cut = false;
      column = 0;
      has_status = false;
      in_line_ = false;
    };
    while (position_ != length_ || refill()) {
      const char* p = buffer_ + position_;
      const char* const end = buffer_ + length_;
      if (after_cr) {
        after_cr = false;
        if (*p == '\n' && ++p == end) {
          position_ = length_;
          continue;
        }
      }
      while (p != end) {
        in_line_ = true;
        if (column == 0) {
          const char* const start = p;
          p = find_stop<true, true>(p, end);
          if (!grid_cut) {
            if (grid == nullptr && carried.empty()) {
              grid = start;
              grid_length = static_cast<std::size_t>(p - start);
            } else {
              carried.append(start, p);
            }
          }
          if (p != end && *p == '\0') {
            grid_cut = true;
            p = find_stop<true, false>(p, end);
          }
        } else if (column == band_column && !has_status) {
          if (!ends_field(*p)) {
            status_letter = *p;
            has_status = true;
            // Once a row's grid and letter are in hand its other cells are not read.
            p = find_stop<false, false>(p, end);
          }
        } else if (column > band_column || has_status) {
          p = find_stop<false, false>(p, end);
        } else {
          p = find_stop<true, false>(p, end);
        }
        if (p == end) break;
        const char delimiter = *p++;
        if (delimiter == ',') {
          ++column;
          continue;
        }
        end_line();
        if (delimiter == '\r') {
          if (p == end) {
            after_cr = true;
            break;
          }
          if (*p == '\n') ++p;
        }
      }
      // The buffer is about to be refilled under a grid still in use.
      hand_on();
      if (grid != nullptr) {
        carried.assign(grid, grid_length);
        grid = nullptr;
      }
      position_ = length_;
    }
    if (in_line_) end_line();
    hand_on();
  }

 private:
  int get() {
    if (position_ == length_ && !refill()) return EOF;
    return static_cast<unsigned char>(buffer_[position_++]);
  }
  int peek() {
    if (position_ == length_ && !refill()) return EOF;
    return static_cast<unsigned char>(buffer_[position_]);
  }
  static bool ends_field(char c) { return c == ',' || c == '\n' || c == '\r'; }

  // The first line end in [p, end), or comma too, or NUL too; `end` if none.
  // Eight bytes are tested at once: a byte of x - 0x01.. & ~x & 0x80.. is
  // set at the first zero byte of x, and only bytes above it may be wrong.
  template <bool kComma, bool kNul>
  static const char* find_stop(const char* p, const char* const end) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    const auto zero_bytes = [](std::uint64_t x) { return (x - kOnes) & ~x & kHighs; };
    // Where the first byte in memory is the highest, the wrong bytes would come first.
    if constexpr (std::endian::native == std::endian::little) {
      for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        std::uint64_t found = zero_bytes(word ^ kOnes * '\n') | zero_bytes(word ^ kOnes * '\r');
        if constexpr (kComma) found |= zero_bytes(word ^ kOnes * ',');
        if constexpr (kNul) found |= zero_bytes(word);
        if (found != 0) return p + std::countr_zero(found) / 8;
      }
    }
    while (p != end && *p != '\n' && *p != '\r' && (!kComma || *p != ',') && (!kNul || *p != '\0')) ++p;
    return p;
  }
  // A read error ends the listing like its end does.
  bool refill() {
    position_ = 0;
    length_ = std::fread(buffer_, 1, sizeof buffer_, stream_);
    return length_ > 0;
  }

  std::FILE* stream_;
  char buffer_[1 << 15];
  std::size_t position_ = 0;
  std::size_t length_ = 0;
  bool in_line_ = false;
};

// Reads the header row into its fields; false when the listing is empty.
bool read_header(LineScanner& scanner, std::vector<std::string>& fields) {
  fields.assign(1, std::string());
  char c = 0;
  for (;;) {
    switch (scanner.next(c)) {
      case LineScanner::kChar: fields.back().push_back(c); break;
      case LineScanner::kFieldEnd: fields.emplace_back(); break;
      case LineScanner::kLineEnd: return true;
      case LineScanner::kEndOfFile: return false;
    }
  }
}

// The first header column after the key column whose label names the band.
int find_band_column(std::vector<std::string>& fields, int band_index, const char* listing_path,
                     SettingsRecord& record) {
  for (std::size_t column = 1; column < fields.size(); ++column) {
    char* label = fields[column].data();
    if (band_from_label(label, listing_path, record) == band_index ||
        band_from_frequency(label, listing_path, record) == band_index)
      return static_cast<int>(column);
  }
  return -1;
}

}  // namespace

GridIndex read_listing(std::FILE* stream, const char* listing_path, SettingsRecord& record) {
  auto scanner = std::make_unique<LineScanner>(stream);
  GridIndex index;
  int rows = 0;

  std::vector<std::string> header;
  if (read_header(*scanner, header)) {
    if (header[0] != "Grid" && header[0] != "Prefix") {
      format_into(record.message, kMessageSize, "ERROR: Unrecognized format of input file %s\n", listing_path);
      return GridIndex();
    }
    int band_column = find_band_column(header, record.band_index, listing_path, record);
    if (band_column < 0) {
      format_into(record.message, kMessageSize, "ERROR: No match found for %s %s in %s\n\n", "band",
                  band_caption(record.band_index), listing_path);
      return GridIndex();
    }

    // A row without a grid or without a letter in the band's cell names no
    // worked grid for this band and is not counted.
    scanner->read_rows(band_column, [&](const IndexRow* group, std::size_t count) {
      for (std::size_t i = 0; i < count; ++i)  // a grid met again keeps its first letter
        index.insert({group[i].key, group[i].length}, group[i].status_letter);
      rows = static_cast<int>(std::min<std::size_t>(INT_MAX, static_cast<std::size_t>(rows) + count));
    });
  }

  format_into(record.message, kMessageSize, "Read  %4d worked grids from %s\n", rows, listing_path);
  return index;
}

}  // namespace zelk

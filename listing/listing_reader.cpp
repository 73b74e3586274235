#include "listing/listing_reader.h"

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "conversion/bounded_text.h"
#include "listing/band_table.h"

namespace zelk {

namespace {

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

  // Reads the data rows to the end of the listing and hands each row that
  // has a grid and a letter in `band_column` to on_row(grid, length, letter). Bytes
  // are passed over a run at a time, not one by one: on a large listing this
  // loop is most of the reading.
  template <typename OnRow>
  void read_rows(int band_column, OnRow on_row) {
    std::string grid;
    bool grid_cut = false;  // a NUL ends the grid text, as it ends a C string
    int column = 0;
    char status_letter = '\0';
    bool has_status = false;
    bool after_cr = false;  // a LF right after a CR ends nothing more
    const auto end_line = [&] {
      if (!grid.empty() && has_status) on_row(grid.c_str(), grid.size(), status_letter);
      grid.clear();
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
        const char* const start = p;
        if (column == 0) {
          while (p != end && !ends_field(*p) && *p != '\0') ++p;
          if (!grid_cut) grid.append(start, p);
          if (p != end && *p == '\0') {
            grid_cut = true;
            while (p != end && !ends_field(*p)) ++p;
          }
        } else if (column == band_column && !has_status) {
          if (!ends_field(*p)) {
            status_letter = *p;
            has_status = true;
            // Once a row's grid and letter are in hand its other cells are not read.
            while (p != end && *p != '\n' && *p != '\r') ++p;
          }
        } else if (column > band_column || has_status) {
          while (p != end && *p != '\n' && *p != '\r') ++p;
        } else {
          while (p != end && !ends_field(*p)) ++p;
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
      position_ = length_;
    }
    if (in_line_) end_line();
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
    scanner->read_rows(band_column, [&](const char* grid, std::size_t length, char status_letter) {
      index.insert(grid, length, status_letter);  // a grid met again keeps its first letter
      if (rows < INT_MAX) ++rows;
    });
  }

  format_into(record.message, kMessageSize, "Read  %4d worked grids from %s\n", rows, listing_path);
  return index;
}

}  // namespace zelk

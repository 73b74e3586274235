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

  // Passes over the rest of the line, leaving its end for next(): once a
  // row's grid and status letter are in hand, its other cells are not read.
  void skip_rest_of_line() {
    for (;;) {
      if (position_ == length_ && !refill()) return;
      const char* p = buffer_ + position_;
      const char* const end = buffer_ + length_;
      while (p != end && *p != '\n' && *p != '\r') ++p;
      position_ = static_cast<std::size_t>(p - buffer_);
      if (p != end) return;
    }
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

    // Only the grid and the band's cell of each row are kept. A row without
    // either names no worked grid for this band and is not counted.
    std::string grid;
    bool grid_cut = false;  // a NUL ends the grid text, as it ends a C string
    int column = 0;
    char status_letter = '\0';
    bool has_status = false;
    char c = 0;
    for (bool more = true; more;) {
      switch (scanner->next(c)) {
        case LineScanner::kChar:
          if (column == 0) {
            if (c == '\0') grid_cut = true;
            if (!grid_cut) grid.push_back(c);
          } else if (column == band_column && !has_status) {
            status_letter = c;
            has_status = true;
            scanner->skip_rest_of_line();
          }
          break;
        case LineScanner::kFieldEnd:
          ++column;
          break;
        case LineScanner::kLineEnd:
          if (!grid.empty() && has_status) {
            index.insert(grid.c_str(), status_letter);  // a grid met again keeps its first letter
            if (rows < INT_MAX) ++rows;
          }
          grid.clear();
          grid_cut = false;
          column = 0;
          has_status = false;
          break;
        case LineScanner::kEndOfFile:
          more = false;
          break;
      }
    }
  }

  format_into(record.message, kMessageSize, "Read  %4d worked grids from %s\n", rows, listing_path);
  return index;
}

}  // namespace zelk

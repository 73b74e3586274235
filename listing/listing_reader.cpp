#include "listing/listing_reader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string_view>

#include "conversion/bounded_text.h"
#include "listing/band_table.h"

namespace zelk {

namespace {

// Hands out a listing's lines. A line ends at LF or at CR, so CR LF ends a
// line and then an empty one, which names nothing.
class LineReader {
 public:
  explicit LineReader(std::FILE* stream) : stream_(stream) {}

  // The next line without its end; false at the end of the listing. A line
  // cut by the end of the listing is still a line.
  bool next(std::string& line) {
    const bool any = read_line(line);
    // Spreadsheets put a UTF-8 byte-order mark before the header of a "CSV UTF-8" file.
    if (!started_ && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    started_ = true;
    return any;
  }

 private:
  bool read_line(std::string& line) {
    line.clear();
    for (bool any = false;; any = true) {
      if (position_ == length_) {
        position_ = 0;
        length_ = std::fread(buffer_, 1, sizeof buffer_, stream_);
        if (length_ == 0) return any;  // a read error ends the listing like its end does
      }
      char* const start = buffer_ + position_;
      char* const end = std::find_if(start, buffer_ + length_, [](char c) { return c == '\n' || c == '\r'; });
      line.append(start, end);
      position_ = static_cast<std::size_t>(end - buffer_);
      if (position_ < length_) {
        ++position_;
        return true;
      }
    }
  }

  std::FILE* stream_;
  char buffer_[1 << 15];
  std::size_t position_ = 0;
  std::size_t length_ = 0;
  bool started_ = false;
};

// The line's fields, split at its commas: no quoting, no trimming. Past
// `most` fields the last one holds the rest of the line.
void split_fields(std::string_view line, std::vector<std::string_view>& fields, std::size_t most = SIZE_MAX) {
  fields.clear();
  for (std::size_t comma; fields.size() + 1 < most && (comma = line.find(',')) != std::string_view::npos;
       line.remove_prefix(comma + 1))
    fields.push_back(line.substr(0, comma));
  fields.push_back(line);
}

// The band a label names as a wavelength, and as a frequency; -1 for none.
std::pair<int, int> bands_named(std::string_view label, const char* listing_path, SettingsRecord& record) {
  std::string text(label);
  const int length_band = band_from_label(text.data(), listing_path, record);
  text = label;
  return {length_band, band_from_frequency(text.data(), listing_path, record)};
}

}  // namespace

GridIndex read_listing(std::FILE* stream, const char* listing_path, SettingsRecord& record) {
  auto reader = std::make_unique<LineReader>(stream);
  std::string line;
  std::vector<std::string_view> fields;
  if (!reader->next(line)) {
    format_into(record.message, kMessageSize, "Read  %4d worked grids from %s\n", 0, listing_path);
    return GridIndex();
  }
  split_fields(line, fields);
  if (fields[0] != "Grid" && fields[0] != "Prefix") {
    format_into(record.message, kMessageSize, "ERROR: Unrecognized format of input file %s\n", listing_path);
    return GridIndex();
  }
  // The first column after the key column whose label names the band.
  std::size_t band_column = 1;
  while (band_column < fields.size()) {
    const auto [length_band, frequency_band] = bands_named(fields[band_column], listing_path, record);
    if (length_band == record.band_index || frequency_band == record.band_index) break;
    ++band_column;
  }
  if (band_column == fields.size()) {
    format_into(record.message, kMessageSize, "ERROR: No match found for %s %s in %s\n\n", "band",
                band_caption(record.band_index), listing_path);
    return GridIndex();
  }

  // A row without a grid or without a letter in the band's cell names no
  // worked grid for this band and is not counted. A NUL ends the grid, as it
  // ends a C string.
  GridIndex index;
  int rows = 0;
  while (reader->next(line)) {
    split_fields(line, fields, band_column + 2);  // the band's cell, whole
    const std::string_view grid = fields[0].substr(0, fields[0].find('\0'));
    if (grid.empty() || band_column >= fields.size() || fields[band_column].empty()) continue;
    index.insert(grid, fields[band_column][0]);  // a grid met again keeps its first letter
    rows += rows < INT_MAX;
  }
  format_into(record.message, kMessageSize, "Read  %4d worked grids from %s\n", rows, listing_path);
  return index;
}

HeaderBands read_header_bands(std::FILE* stream) {
  HeaderBands header;
  auto reader = std::make_unique<LineReader>(stream);
  std::string line;
  std::vector<std::string_view> fields;
  if (!reader->next(line)) return header;
  split_fields(line, fields);
  header.readable = fields[0] == "Grid" || fields[0] == "Prefix";
  if (!header.readable) return header;
  SettingsRecord scratch;
  reset_to_defaults(scratch);
  for (std::size_t column = 1; column < fields.size(); ++column) {
    // A label may name one band as a wavelength and another as a frequency.
    const auto [length_band, frequency_band] = bands_named(fields[column], nullptr, scratch);
    for (int band : {length_band, frequency_band})
      if (band >= 0) header.bands.push_back(band);
    if (length_band < 0 && frequency_band < 0)
      header.unnamed.emplace_back(static_cast<int>(column) + 1, std::string(fields[column]));
  }
  std::sort(header.bands.begin(), header.bands.end());
  header.bands.erase(std::unique(header.bands.begin(), header.bands.end()), header.bands.end());
  return header;
}

}  // namespace zelk

#include "listing/listing_reader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string_view>

#include "record/bounded_text.h"
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

ListingBands read_every_band(std::FILE* stream) {
  ListingBands listing;
  auto reader = std::make_unique<LineReader>(stream);
  std::string line;
  std::vector<std::string_view> fields;
  if (!reader->next(line)) return listing;
  split_fields(line, fields);
  listing.readable = fields[0] == "Grid" || fields[0] == "Prefix";
  if (!listing.readable) return listing;
  SettingsRecord scratch;
  reset_to_defaults(scratch);
  std::vector<std::size_t> read_columns;  // those read, each the first to name some band
  std::vector<int> column_of_band(kBandCount, -1);
  for (std::size_t column = 1; column < fields.size(); ++column) {
    const std::pair<int, int> bands = bands_named(fields[column], nullptr, scratch);
    listing.columns.push_back({static_cast<int>(column) + 1, std::string(fields[column]), bands});
    for (int band : {bands.first, bands.second}) {
      if (band < 0 || column_of_band[band] >= 0) continue;
      if (read_columns.empty() || read_columns.back() != column) read_columns.push_back(column);
      column_of_band[band] = static_cast<int>(read_columns.size()) - 1;
    }
  }
  for (int band = 0; band < kBandCount; ++band) {
    if (column_of_band[band] < 0) continue;
    listing.bands.push_back(band);
    listing.column_of.push_back(static_cast<std::size_t>(column_of_band[band]));
  }
  if (read_columns.empty()) return listing;

  // One walk down the tree per row finds the grid for every column. Rows
  // and cells count as read_listing counts them.
  GridIndex& grids = listing.grids;
  std::vector<std::vector<std::int16_t>>& letters = listing.letters;
  letters.assign(read_columns.size(), std::vector<std::int16_t>(1, -1));
  while (reader->next(line)) {
    split_fields(line, fields, read_columns.back() + 2);
    const std::string_view grid = fields[0].substr(0, fields[0].find('\0'));
    if (grid.empty()) continue;
    GridIndex::Node node = GridIndex::kNone;
    for (std::size_t i = 0; i < read_columns.size(); ++i) {
      if (read_columns[i] >= fields.size() || fields[read_columns[i]].empty()) continue;
      if (node == GridIndex::kNone) node = grids.insert(grid, '\0');
      if (node >= letters[i].size())
        for (std::vector<std::int16_t>& column_letters : letters) column_letters.resize(2 * node, -1);
      std::int16_t& letter = letters[i][node];
      if (letter < 0) letter = static_cast<unsigned char>(fields[read_columns[i]][0]);
    }
  }
  return listing;
}

bool ListingBands::worked(std::size_t i) const {
  const std::vector<std::int16_t>& column = letters[column_of[i]];
  return std::any_of(column.begin(), column.end(), [](std::int16_t letter) { return letter >= 0; });
}

}  // namespace zelk

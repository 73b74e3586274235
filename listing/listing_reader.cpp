#include "listing/listing_reader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

#include "listing/band_table.h"
#include "record/bounded_text.h"

namespace zelk {

namespace {

bool is_field_end(char c) { return c == ',' || c == '\n' || c == '\r'; }

// Hands out a listing's lines a field at a time and holds none of them: a
// caller keeps of each field what it needs, so that a line of any length
// costs no memory. A line ends at LF or at CR, so CR LF ends a line and
// then an empty one, which names nothing.
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
  // True when a comma ended it, so that another field follows.
  bool field(std::string* kept = nullptr, std::size_t most = 0, bool nul_ends = false) {
    if (kept != nullptr) kept->clear();
    bool keeping = kept != nullptr;
    while (line_open_ && available()) {
      const char* const start = buffer_ + position_;
      const char* const end = buffer_ + length_;
      const char* const stop = std::find_if(start, end, is_field_end);
      if (keeping) {
        const char* const taken = start + std::min(static_cast<std::size_t>(stop - start), most - kept->size());
        const char* const nul = nul_ends ? std::find(start, taken, '\0') : taken;
        kept->append(start, nul);
        keeping = nul == taken;  // once `most` are kept, the rest takes none
      }
      position_ = static_cast<std::size_t>(stop - buffer_);
      if (stop != end) {
        ++position_;
        if (*stop == ',') return true;
        break;
      }
    }
    line_open_ = false;
    return false;
  }

  // Whether the line's first field is exactly `Grid` or `Prefix`, reading
  // no more of it than those take: a listing of endless zeros ends here.
  // `more` tells whether other fields follow.
  bool key_field(bool& more) {
    std::string key;
    while (line_open_ && key.size() <= 6 && available() && !is_field_end(buffer_[position_]))
      key += buffer_[position_++];
    if (key != "Grid" && key != "Prefix") return false;
    more = field();
    return true;
  }

 private:
  bool available() {
    if (position_ < length_) return true;
    position_ = 0;
    length_ = std::fread(buffer_, 1, sizeof buffer_, stream_);
    return length_ > 0;  // a read error ends the listing like its end does
  }

  std::FILE* stream_;
  char buffer_[1 << 15];
  std::size_t position_ = 0;
  std::size_t length_ = 0;
  bool started_ = false;
  bool line_open_ = false;
};

// A label names its band in its first bytes; a longer one is read, and
// named in warnings, by these.
constexpr std::size_t kLabelBytes = 256;
// A grid's first bytes: a map matches four, a warning shows sixteen, and a
// row's huge first field costs no more than these.
constexpr std::size_t kGridBytes = 64;
// Past these, a header's warnings are counted, not kept.
constexpr std::size_t kMostWarnings = 20;

// The header row: which column each band is read from, and what the user
// should know of the others.
struct Header {
  bool readable = false;  // the row starts "Grid" or "Prefix"
  std::size_t column_of_band[kBandCount] = {};  // the first field to name it, from 0 (the grid's); 0 for none
  std::vector<std::string> warnings;
};

// The band a label names as a wavelength, and as a frequency; -1 for none.
std::pair<int, int> bands_named(const std::string& label, SettingsRecord& scratch) {
  std::string text = label;
  const int length_band = band_from_label(text.data(), nullptr, scratch);
  text = label;
  return {length_band, band_from_frequency(text.data(), nullptr, scratch)};
}

// Reads the header row, the line at hand. A label naming two bands, and a
// band that a later column names again (the first is read), are warnings
// for every run; a label naming no band is one where `unnamed` asks for it.
Header read_header(FieldReader& reader, const std::string& path, bool unnamed) {
  Header header;
  bool more = false;
  if (!(header.readable = reader.key_field(more))) return header;
  SettingsRecord scratch{};  // for the rules' messages, which no one reads
  std::size_t left_out = 0;
  auto warn = [&](const std::string& text) {
    if (header.warnings.size() < kMostWarnings) header.warnings.push_back("WARNING: " + path + ": " + text);
    else ++left_out;
  };
  std::string named[kBandCount];  // each band's column as the warnings name it: "2 (2M)"
  std::string label;
  for (std::size_t column = 1; more; ++column) {
    more = reader.field(&label, kLabelBytes, true);
    const std::string name = std::to_string(column + 1) + " (" + label + ")";
    auto [low, high] = bands_named(label, scratch);
    if (low > high) std::swap(low, high);
    if (high < 0 && unnamed) warn("column " + name + " names no band");
    if (low >= 0 && low != high)
      warn("column " + name + " names two bands: " + band_name(low) + " and " + band_name(high));
    for (const int band : {low, low == high ? -1 : high}) {
      if (band < 0) continue;
      if (header.column_of_band[band] == 0) {
        header.column_of_band[band] = column;
        named[band] = name;
      } else {
        warn("columns " + named[band] + " and " + name + " both name " + band_name(band) + "; column " +
             std::to_string(header.column_of_band[band] + 1) + " is read");
      }
    }
  }
  if (left_out > 0)
    header.warnings.push_back("WARNING: " + path + ": " + std::to_string(left_out) +
                              " more warnings about its header left out");
  return header;
}

}  // namespace

GridIndex read_listing(std::FILE* stream, const char* listing_path, SettingsRecord& record, ListingNotes* notes) {
  auto say = [&](const std::string& message) {
    copy_into(record.message, message.c_str());
    if (notes != nullptr) notes->message = message;
  };
  auto read_rows = [&](int rows) { say(read_grids_message(rows, listing_path)); };
  auto reader = std::make_unique<FieldReader>(stream);
  if (!reader->next_line()) {
    read_rows(0);
    return GridIndex();
  }
  Header header = read_header(*reader, listing_path, false);
  if (notes != nullptr) notes->header_warnings = std::move(header.warnings);
  if (!header.readable) {
    say(unrecognized_format_message(listing_path));
    if (notes != nullptr) notes->problem = ListingProblem::kUnrecognizedFormat;
    return GridIndex();
  }
  const std::size_t band_column =
      record.band_index >= 0 && record.band_index < kBandCount ? header.column_of_band[record.band_index] : 0;
  if (band_column == 0) {
    say("ERROR: No match found for band " + std::string(band_caption(record.band_index)) + " in " + listing_path +
        "\n\n");
    if (notes != nullptr) notes->problem = ListingProblem::kNoBandColumn;
    return GridIndex();
  }

  // A row without a grid or without a letter in the band's cell names no
  // worked grid for this band and is not counted. A NUL ends the grid, as it
  // ends a C string.
  GridIndex index;
  int rows = 0;
  std::string grid, cell;
  while (reader->next_line()) {
    bool more = reader->field(&grid, kGridBytes, true) && !grid.empty();
    for (std::size_t column = 1; more && column < band_column; ++column) more = reader->field();
    if (!more) continue;
    reader->field(&cell, 1);
    if (cell.empty()) continue;
    index.insert(grid, cell[0]);  // a grid met again keeps its first letter
    rows += rows < INT_MAX;
  }
  read_rows(rows);
  return index;
}

ListingBands read_every_band(std::FILE* stream, const std::string& listing_path) {
  ListingBands listing;
  auto reader = std::make_unique<FieldReader>(stream);
  if (!reader->next_line()) return listing;
  Header header = read_header(*reader, listing_path, true);
  listing.readable = header.readable;
  listing.warnings = std::move(header.warnings);
  std::vector<std::size_t> read_columns;  // those read, each the first to name some band, in order
  for (std::size_t column : header.column_of_band)
    if (column > 0) read_columns.push_back(column);
  std::sort(read_columns.begin(), read_columns.end());
  read_columns.erase(std::unique(read_columns.begin(), read_columns.end()), read_columns.end());
  for (int band = 0; band < kBandCount; ++band) {
    if (header.column_of_band[band] == 0) continue;
    listing.bands.push_back(band);
    listing.column_of.push_back(static_cast<std::size_t>(
        std::find(read_columns.begin(), read_columns.end(), header.column_of_band[band]) - read_columns.begin()));
  }
  if (read_columns.empty()) return listing;

  // One walk down the tree per row finds the grid for every column. Rows
  // and cells count as read_listing counts them.
  GridIndex& grids = listing.grids;
  std::vector<std::vector<std::int16_t>>& letters = listing.letters;
  letters.assign(read_columns.size(), std::vector<std::int16_t>(1, -1));
  std::string grid, cell;
  while (reader->next_line()) {
    bool more = reader->field(&grid, kGridBytes, true);
    if (grid.empty()) continue;
    GridIndex::Node node = GridIndex::kNone;
    for (std::size_t column = 1, i = 0; more && i < read_columns.size(); ++column) {
      if (column != read_columns[i]) {
        more = reader->field();
        continue;
      }
      more = reader->field(&cell, 1);
      std::vector<std::int16_t>& column_letters = letters[i++];
      if (cell.empty()) continue;
      if (node == GridIndex::kNone) node = grids.insert(grid, '\0');
      if (node >= column_letters.size())
        for (std::vector<std::int16_t>& each : letters) each.resize(2 * node, -1);
      if (column_letters[node] < 0) column_letters[node] = static_cast<unsigned char>(cell[0]);
    }
  }
  return listing;
}

std::string read_grids_message(int grids, const std::string& listing_path) {
  char count[40];
  std::snprintf(count, sizeof count, "Read  %4d worked grids from ", grids);
  return count + listing_path + "\n";
}

std::string unrecognized_format_message(const std::string& listing_path) {
  return "ERROR: Unrecognized format of input file " + listing_path + "\n";
}

bool ListingBands::worked(std::size_t i) const {
  const std::vector<std::int16_t>& column = letters[column_of[i]];
  return std::any_of(column.begin(), column.end(), [](std::int16_t letter) { return letter >= 0; });
}

}  // namespace zelk

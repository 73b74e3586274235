#include "listing/listing_reader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

#include "listing/band_table.h"
#include "listing/cabrillo_log.h"
#include "listing/field_reader.h"
#include "record/bounded_text.h"

namespace zelk {

namespace {

// A label names its band in its first bytes; a longer one is read, and
// named in warnings, by these.
constexpr std::size_t kLabelBytes = 256;
// A grid's first bytes: a map matches four, a warning shows sixteen, and a
// row's huge first field costs no more than these.
constexpr std::size_t kGridBytes = 64;
// Past these, a header's warnings are counted, not kept.
constexpr std::size_t kMostWarnings = 20;
// A cell's first bytes: its letter, or the spaces before one.
constexpr std::size_t kCellBytes = 8;
// How many cells a warning shows.
constexpr std::size_t kExamples = 3;

// A text as a message quotes it: its first bytes, control characters as "?".
std::string shown(const std::string& text) {
  std::string quoted;
  for (char c : text.substr(0, 16)) quoted += static_cast<unsigned char>(c) < ' ' ? '?' : c;
  return quoted + (text.size() > 16 ? "..." : "");
}

// What the first line shows instead of a header, for the line after "Unrecognized format".
std::string header_hint(const std::string& seen) {
  if (seen.empty()) return "the first line is empty";
  if (seen[0] == '"') return "its first field opens a quote that the line does not close";
  for (const std::string key : {"Grid", "Prefix"}) {
    const char after = seen.size() > key.size() ? seen[key.size()] : '\0';
    const bool punctuation = after > ' ' && after < 127 && !std::isalnum(static_cast<unsigned char>(after));
    if (seen.starts_with(key) && punctuation && after != ',')
      return std::string("the first line is separated by '") + after + "', not commas";
  }
  const std::string first = seen.substr(0, seen.find_first_of(",;\t"));
  std::string lower = first;
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return "the first field is '" + shown(first) + "'; it must be Grid or Prefix" +
         (lower == "grid" || lower == "prefix" ? ", in that case" : "");
}

// The band of the frequency a label names in GHz ("1.2G", "5.7 GHz"), its
// number standing for itself to its precision (1.2 for 1.15 to 1.25); -1
// for a label without that unit, or of no band. `number` is as written.
int band_of_ghz(const std::string& label, std::string& number) {
  const std::size_t digits = label.find_first_not_of("0123456789.");
  number = label.substr(0, digits);
  std::string unit = digits == std::string::npos ? "" : label.substr(digits + (label[digits] == ' '));
  for (char& c : unit) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  double value = 0;
  if ((unit != "G" && unit != "GHZ") || std::from_chars(number.data(), number.data() + number.size(), value).ec != std::errc())
    return -1;
  const std::size_t point = number.find('.');
  const double half = 0.5 * std::pow(10.0, -(point == std::string::npos ? 0.0 : double(number.size() - point - 1)));
  static constexpr struct { int band; double low, high; } kGhzBands[] = {
      {5, 1.24, 1.30}, {6, 2.30, 2.45}, {7, 3.30, 3.50}, {8, 5.65, 5.925}, {9, 10.0, 10.5}};
  for (const auto& band : kGhzBands)
    if (value - half < band.high && value + half > band.low) return band.band;
  return -1;
}

// Cells whose letter the map does not read but a person plainly meant: a
// status letter in lower case, or one after spaces. Other characters ("N",
// "-") are some loggers' "not worked" and stay silent.
struct OddCells {
  int count = 0;
  std::vector<std::string> examples;

  void see(const std::string& cell) {
    if (cell.empty() || (cell[0] != ' ' && (cell[0] < 'c' || cell[0] > 'w'))) return;  // most cells, at once
    const std::size_t letter = cell.find_first_not_of(' ');
    if (letter == std::string::npos || std::strchr(letter == 0 ? "wlmcs" : "WLMCS*wlmcs", cell[letter]) == nullptr ||
        cell[letter] == '\0')
      return;
    ++count;
    if (examples.size() < kExamples) examples.push_back(cell.substr(0, letter + 1));
  }
  std::string warning(const std::string& path, int band) const {
    std::string text = "WARNING: " + path + ": " + std::to_string(count) + (count == 1 ? " cell of " : " cells of ") +
                       band_name(band) + (count == 1 ? " starts" : " start") + " with a letter the map does not read (";
    for (const std::string& cell : examples) text += (&cell == &examples.front() ? "" : ", ") + cell;
    return text + (count > static_cast<int>(examples.size()) ? ", ...)" : ")") +
           (count == 1 ? "; its square shows unworked" : "; their squares show unworked");
  }
};

// The header row: which column each band is read from, and what the user
// should know of the others.
struct Header {
  bool readable = false;  // the row starts "Grid" or "Prefix"
  std::size_t column_of_band[kBandCount] = {};  // the first field to name it, from 0 (the grid's); 0 for none
  std::vector<std::string> warnings;
  std::string hint;  // when it is no header, what it shows instead
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
  std::string seen;
  if (!(header.readable = reader.key_field(more, seen))) {
    header.hint = header_hint(seen);
    return header;
  }
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
    std::string number;
    // A frequency in GHz that the label's reading contradicts; the reading stays.
    if (const int ghz = band_of_ghz(label, number); ghz >= 0 && ghz != low && ghz != high) {
      std::string wavelength = band_name(ghz);
      std::erase(wavelength, ' ');
      warn("column " + name + (high < 0 ? " names no band" : " is read as " + std::string(band_caption(high))) + "; " +
           number + " GHz is " + band_name(ghz) + " (label it " + wavelength + ")");
    } else if (high < 0 && unnamed) {
      warn("column " + name + " names no band");
    }
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
  if (reader->line_starts_with(kCabrilloStart)) {
    ListingBands log = read_cabrillo_log(*reader, listing_path);
    if (notes != nullptr) notes->warnings = std::move(log.warnings);
    const auto band = std::find(log.bands.begin(), log.bands.end(), record.band_index);
    if (log.error.empty() && band == log.bands.end()) log.error = "ERROR: No match found for band " +
                                                                   std::string(band_caption(record.band_index)) +
                                                                   " in " + listing_path;
    if (!log.error.empty()) {
      say(log.error + "\n");
      if (notes != nullptr) notes->problem = ListingProblem::kNoGrids;
      return GridIndex();
    }
    // The band's grids alone, as its listing would give them.
    const std::vector<std::int16_t>& letters = log.letters[static_cast<std::size_t>(band - log.bands.begin())];
    GridIndex index;
    for (GridIndex::Node t = 1; t < letters.size() && t <= log.grids.size(); ++t)
      if (letters[t] >= 0) index.insert(log.grids.key(t), static_cast<char>(letters[t]));
    read_rows(static_cast<int>(index.size()));
    return index;
  }
  Header header = read_header(*reader, listing_path, false);
  if (notes != nullptr) notes->warnings = std::move(header.warnings);
  if (!header.readable) {
    say(unrecognized_format_message(listing_path));
    if (notes != nullptr) {
      notes->problem = ListingProblem::kUnrecognizedFormat;
      notes->hint = header.hint;
    }
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
  OddCells odd;
  while (reader->next_line()) {
    bool more = reader->field(&grid, kGridBytes, true) && !grid.empty();
    for (std::size_t column = 1; more && column < band_column; ++column) more = reader->field();
    if (!more) continue;
    reader->field(&cell, kCellBytes);
    if (cell.empty()) continue;
    odd.see(cell);
    index.insert(grid, cell[0]);  // a grid met again keeps its first letter
    rows += rows < INT_MAX;
  }
  read_rows(rows);
  if (notes != nullptr && odd.count > 0) notes->warnings.push_back(odd.warning(listing_path, record.band_index));
  return index;
}

ListingBands read_every_band(std::FILE* stream, const std::string& listing_path) {
  ListingBands listing;
  auto reader = std::make_unique<FieldReader>(stream);
  if (!reader->next_line()) return listing;
  if (reader->line_starts_with(kCabrilloStart)) return read_cabrillo_log(*reader, listing_path);
  Header header = read_header(*reader, listing_path, true);
  listing.readable = header.readable;
  listing.warnings = std::move(header.warnings);
  listing.hint = header.hint;
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
  std::vector<OddCells> odd(read_columns.size());
  while (reader->next_line()) {
    bool more = reader->field(&grid, kGridBytes, true);
    if (grid.empty()) continue;
    GridIndex::Node node = GridIndex::kNone;
    for (std::size_t column = 1, i = 0; more && i < read_columns.size(); ++column) {
      if (column != read_columns[i]) {
        more = reader->field();
        continue;
      }
      more = reader->field(&cell, kCellBytes);
      odd[i].see(cell);
      std::vector<std::int16_t>& column_letters = letters[i++];
      if (cell.empty()) continue;
      if (node == GridIndex::kNone) node = grids.insert(grid, '\0');
      if (node >= column_letters.size())
        for (std::vector<std::int16_t>& each : letters) each.resize(2 * node, -1);
      if (column_letters[node] < 0) column_letters[node] = static_cast<unsigned char>(cell[0]);
    }
  }
  // Each column's once, naming the first band it gives.
  for (std::size_t b = 0; b < listing.bands.size(); ++b)
    if (OddCells& cells = odd[listing.column_of[b]]; cells.count > 0) {
      listing.warnings.push_back(cells.warning(listing_path, listing.bands[b]));
      cells.count = 0;
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

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
#include "record/bounded_text.h"

namespace zelk {

namespace {

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
    auto keep = [&](const char* start, const char* stop) {
      if (!keeping) return;
      const char* const taken = start + std::min(static_cast<std::size_t>(stop - start), most - kept->size());
      const char* const nul = nul_ends ? std::find(start, taken, '\0') : taken;
      kept->append(start, nul);
      keeping = nul == taken;  // once `most` are kept, the rest takes none
    };
    if (line_open_ && available() && buffer_[position_] == '"') {
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
      keep(start, stop);
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

  bool available() {
    if (position_ < length_) return true;
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

// Reading a listing: header, band rules, rows, messages, the index.
#include "listing/listing_reader.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "listing/band_table.h"
#include "test_helpers.h"
#include "tests/listing/aa_tree_check.h"

namespace zelk {
namespace {

using test::utf16;

// The entries as "key=letter ..." in key order (a broken tree rule first),
// and the message.
std::pair<std::string, std::string> read(const std::string& listing, int band_index) {
  std::FILE* stream = test::stream_of(listing);
  SettingsRecord record = test::record_for(band_index);
  GridIndex index = read_listing(stream, "L.csv", record);
  std::fclose(stream);
  std::vector<std::string> keys;
  std::string entries = aa_tree_fault(index, keys);
  for (const std::string& key : keys)
    entries += (entries.empty() ? "" : " ") + key + "=" + index.find(key).value_or('?');
  return {entries, record.message};
}

// As read(), from the index a band's page reads (a grid its column lacks has no letter).
std::string every_band_entries(const std::string& listing, int band_index) {
  std::FILE* stream = test::stream_of(listing);
  const ListingBands bands = read_every_band(stream, "L.csv");
  std::fclose(stream);
  const auto at = std::find(bands.bands.begin(), bands.bands.end(), band_index);
  if (at == bands.bands.end()) return "";
  const GridIndex index = bands.index(at - bands.bands.begin());
  std::vector<std::string> keys;
  std::string entries = aa_tree_fault(index, keys);
  for (const std::string& key : keys)
    if (*index.find(key) != '\0') entries += (entries.empty() ? "" : " ") + key + "=" + *index.find(key);
  return entries;
}

const std::string kFormatError = "ERROR: Unrecognized format of input file L.csv\n";

std::string read_count(int count) {
  char text[64];
  std::snprintf(text, sizeof text, "Read  %4d worked grids from L.csv\n", count);
  return text;
}

TEST(ListingReader, Cases) {
  struct Case {
    const char* id;
    std::string listing;
    int band;
    std::string entries, message;
  };
  std::string wide_header = "Grid";
  for (int column = 1; column < 20; ++column) wide_header += column == 18 ? ",23CM" : ",remarks";
  const Case cases[] = {
      {"empty file", "", 1, "", read_count(0)},
      {"empty first line", "\nGrid,2M\nFN31,W\n", 1, "", kFormatError},
      {"a byte-order mark before the header only", "\xEF\xBB\xBFGrid,2M\n\xEF\xBB\xBF" "FN31,W", 1,
       "\xEF\xBB\xBF" "FN31=W", read_count(1)},
      {"NUL in the key", std::string("Grid\0,2M\nFN31,W\n", 16), 1, "", kFormatError},
      {"Prefix", "Prefix,2M\nFN31,W", 1, "FN31=W", read_count(1)},
      {"NUL ends the grid", std::string("Grid,2M\nFN31\0zz,W\n", 19), 1, "FN31=W", read_count(1)},
      {"2M of three", "Grid,6M,2M,6CM\nFN31,L,W,C\n", 1, "FN31=W", read_count(1)},
      {"6CM of three", "Grid,6M,2M,6CM\nFN31,L,W,C\n", 8, "FN31=C", read_count(1)},
      {"2.3 as 2 m", "Grid,2.3,144\nFN31,L,W\n", 1, "FN31=L", read_count(1)},
      {"left of two", "Grid,144,2M\nFN31,L,W\n", 1, "FN31=L", read_count(1)},
      {"key column only", "Grid\nFN31\n", 10, "", "ERROR: No match found for band Satellite in L.csv\n\n"},
      {"band in field 19", wide_header + "\nFN31" + std::string(17, ',') + ",C\n", 5, "FN31=C", read_count(1)},
      {"empty cell keeps its place", "Grid,6M,2M,220\nFN31,,W,C\n", 1, "FN31=W", read_count(1)},
      {"empty band cell", "Grid,6M,2M,220\nFN31,,W,C\nFN32,L\nFN33,L,,C\n", 0, "FN32=L FN33=L", read_count(2)},
      {"line ends", "Grid,2M\r\nFN31,W\rFN32,C\r\n\nFN33,L\n\rFN34,*", 1, "FN31=W FN32=C FN33=L FN34=*",
       read_count(4)},
      {"first cell letter only", "Grid,2M\nFN31,Wx\nFN32,c\n", 1, "FN31=W FN32=c", read_count(2)},
      {"no trimming", "Grid,2M\n FN32, C\nfn33,\tL\n", 1, " FN32=  fn33=\t", read_count(2)},
      {"quoted: a separator, a line end and a quote inside", "\"Grid\",\"2M\"\n\"F\"\"N,\n1\",\"W\"\nFN\"2,C\n", 1,
       "F\"N,\n1=W FN\"2=C", read_count(2)},
      {"semicolons, commas then data", "Grid;6M;2M\nFN31;L;W\nFN3,2;W;C\n", 1, "FN3,2=C FN31=W", read_count(2)},
      {"tabs", "Grid\t6M\t2M\nFN31\tL\tW\n", 1, "FN31=W", read_count(1)},
      {"UTF-16 LE", utf16(u"Grid,2M\r\nFN31,W\r\n\u0436\U0001F4FB,C\xD800", true), 1, "FN31=W \xD0\xB6\xF0\x9F\x93\xBB=C",
       read_count(2)},
      {"UTF-16 BE", utf16(u"Grid,2M\nFN31,W", false), 1, "FN31=W", read_count(1)},
      {"first letter stays; longer keys", "Grid,2M\nFN31,C\nFN31,W\nFN31abc,S\nFN31abcd,L\n", 1,
       "FN31=C FN31abc=S FN31abcd=L", read_count(4)},
      {"first letter of its column", "Grid,6M,2M\nFN31,L\nFN31,,W\nFN31,C,C\n", 1, "FN31=W", read_count(2)},
      {"rows without grid or cell", "Grid,2M\n,W\nFN31\nFN32,\n\n,\n", 1, "", read_count(0)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(read(c.listing, c.band), std::pair(c.entries, c.message)) << c.id;
    EXPECT_EQ(every_band_entries(c.listing, c.band), c.entries) << c.id << ", every band";
  }
}

// Rows whose grid, letter or CR LF the reader's buffer cuts, at each byte of
// the first one. The buffer is 32 KB; a row with no grid fills up to it.
TEST(ListingReader, RowsAcrossTheBufferRefill) {
  const std::string header = "Grid,2M\n";
  for (std::size_t offset = 0; offset <= 8; ++offset) {
    const std::string filler = "," + std::string(32768 - header.size() - offset - 2, 'x') + "\n";
    EXPECT_EQ(read(header + filler + "FN31,W\r\nFN32,C\r\n", 1), std::pair(std::string("FN31=W FN32=C"), read_count(2)))
        << "offset " << offset;
  }
  // In UTF-16, a character of two units at every place a read of the file may end.
  std::u16string rows = u"Grid,2M\n";
  for (int row = 0; row < 6000; ++row) rows += u"\U0001F4FB" + std::u16string(1, u'A' + row % 26) + u"," + u"W\n";
  const auto [entries, message] = read(utf16(rows, true), 1);
  EXPECT_EQ(message, read_count(6000));
  EXPECT_EQ(entries.find("\xEF\xBF\xBD"), std::string::npos) << "a pair cut in two";
}

// The same warnings in a band's run as in every band's, which also names
// the labels that name no band. A label counts up to a NUL and by its first
// 256 bytes; past 20 warnings, a count.
TEST(ListingReader, HeaderWarnings) {
  auto warned = [](const std::string& listing, bool every_band) {
    std::FILE* stream = test::stream_of(listing);
    SettingsRecord record = test::record_for(1);
    ListingNotes notes;
    if (every_band) notes.warnings = read_every_band(stream, "L.csv").warnings;
    else read_listing(stream, "L.csv", record, &notes);
    std::fclose(stream);
    return notes.warnings;
  };
  const std::string w = "WARNING: L.csv: ", long_label(300, 'x');
  const std::string header = "Grid,2M,Notes,2.3G," + long_label + std::string(",144\0cm,", 9) + "\nFN31,W\n";
  std::vector<std::string> warnings = {w + "column 4 (2.3G) names two bands: 2 M and 13 CM",
                                       w + "columns 2 (2M) and 4 (2.3G) both name 2 M; column 2 is read",
                                       w + "columns 2 (2M) and 6 (144) both name 2 M; column 2 is read"};
  EXPECT_EQ(warned(header, false), warnings);
  warnings.insert(warnings.begin() + 2, w + "column 5 (" + long_label.substr(0, 256) + ") names no band");
  warnings.insert(warnings.begin(), w + "column 3 (Notes) names no band");
  warnings.push_back(w + "column 7 () names no band");
  EXPECT_EQ(warned(header, true), warnings);
  std::string thirty = "Grid";
  for (int column = 0; column < 30; ++column) thirty += ",2m";
  warnings = warned(thirty, false);
  EXPECT_EQ(std::to_string(warnings.size()) + " " + warnings.back(),
            "21 " + w + "9 more warnings about its header left out");
  // A label in GHz the rules read otherwise; letters a person meant, once per band column.
  EXPECT_EQ(warned("Grid,6M,1.2G,5.7GHz,10G\nFN31,w,L\nFN32, W\nFN33,c\nFN34,C\nFN35,N\nFN36,l, *\n", true),
            (std::vector<std::string>{
                w + "column 3 (1.2G) is read as 1.25 M (220 MHz); 1.2 GHz is 23 CM (label it 23CM)",
                w + "column 4 (5.7GHz) names no band; 5.7 GHz is 6 CM (label it 6CM)",
                w + "4 cells of 6 M start with a letter the map does not read (w,  W, c, ...); their squares show unworked",
                w + "1 cell of 1.25 M starts with a letter the map does not read ( *); its square shows unworked"}));
  EXPECT_EQ(warned("Grid,2M\nFN31,s\n", false).back(),
            w + "1 cell of 2 M starts with a letter the map does not read (s); its square shows unworked");
  // What a first line that is no header shows instead.
  for (auto [line, hint] : {std::pair{"Grid|2M", "the first line is separated by '|', not commas"},
                            {"grid,2M", "the first field is 'grid'; it must be Grid or Prefix, in that case"},
                            {"\"Grid,2M", "its first field opens a quote that the line does not close"},
                            {"Grids,2M", "the first field is 'Grids'; it must be Grid or Prefix"},
                            {"\n", "the first line is empty"}}) {
    std::FILE* stream = test::stream_of(line);
    SettingsRecord record = test::record_for(1);
    ListingNotes notes;
    read_listing(stream, "L.csv", record, &notes);
    std::fclose(stream);
    EXPECT_EQ(notes.hint, hint) << line;
  }
}

TEST(BandTable, LabelRules) {
  struct Case {
    const char* label;
    int by_band_label, by_frequency;
  };
  const Case cases[] = {
      {"2", 1, -1}, {"2m", 1, -1}, {" +2M", 1, -1}, {"-2", -1, -1}, {"6M", 0, -1}, {"6 M (CW)", 8, -1}, {"6cm", 8, -1},
      {"3CM", 9, -1}, {"9CM", 7, -1}, {"13CM", 6, -1}, {"23cm", 5, -1}, {"33CM", 4, -1}, {"35CM", -1, -1},
      {"70CM", 3, -1}, {"1.25CM", 2, -1}, {"1.19", 2, -1}, {"1.26", -1, -1}, {".1.2", -1, -1}, {"sat", 10, 10},
      {"Sat", 10, 10}, {"SATELLITE", -1, -1}, {" SAT", -1, -1}, {"50", -1, 0}, {"144", -1, 1}, {"220", -1, 2},
      {"430", -1, -1}, {"432", -1, -1}, {"440", -1, 3}, {"900", -1, 4}, {"10G", -1, 9}, {"1.3", -1, 5}, {"1.29", -1, 5},
      {"1.31", -1, -1}, {"2.3", 1, 6}, {"2.29", 1, 6}, {"3.3", 9, 7}, {"3.4", 9, -1}, {"5.6", -1, 8}, {"5.7", -1, -1},
      {"1296", -1, -1}, {"99999999999", -1, -1},
      // The leading number is read as the C library reads it.
      {"1.2e0", 2, -1}, {"0x1.4", 2, -1}, {"+1.3GHZ", -1, 5}, {"+-1.2", -1, -1},
      // Captions: all but Satellite name their band.
      {"33 CM (900 MHz)", 4, -1}, {"6 CM (5768 MHz)", 8, -1}, {"Satellite", -1, -1},
  };
  for (const Case& c : cases) {
    SettingsRecord record = test::record_for(-1);
    std::string label = c.label;
    EXPECT_EQ(band_from_label(label.data(), "L.csv", record), c.by_band_label) << c.label;
    label = c.label;
    EXPECT_EQ(band_from_frequency(label.data(), "L.csv", record), c.by_frequency) << c.label;
  }
  EXPECT_TRUE(*band_caption(-1) == '\0' && *band_caption(kBandCount) == '\0' && *band_caption(kBandCount - 1) == 'S');
  // The names a user gives a band, in any case, each to its band; none else.
  const char* const names[] = {"6m 50", "2M 144", "1.25m 220 222", "70cm 430 432", "33CM 900 902", "23cm 1296",
                               "13cm 2304 2.3g", "9cm 3456 3.4G", "6cm 5760 5768 5.7G", "3cm 10000 10368 10G",
                               "SAT satellite", "", "Any"};
  std::size_t named = 0;
  for (int band = 0; band <= kAnyBand; ++band) {
    std::istringstream words(names[band]);
    for (std::string word; words >> word; ++named) EXPECT_EQ(band_from_name(word), band) << word;
  }
  EXPECT_EQ(named, band_names().size());
  for (const char* none : {"", "all", "6", "2 m", "1.2G", "10GHz", "sat "}) EXPECT_EQ(band_from_name(none), -1) << none;
}

}  // namespace
}  // namespace zelk

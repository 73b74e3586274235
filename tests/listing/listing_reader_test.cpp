// Reading a worked-grid listing: header, band column, data rows and messages.
#include "listing/listing_reader.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace zelk {
namespace {

void walk(const IndexNode* t, std::string& text) {
  if (t == nullptr) return;
  walk(t->left, text);
  text += std::string(text.empty() ? "" : " ") + t->key() + "=" + t->status_letter;
  walk(t->right, text);
}

struct Reading {
  std::string entries;  // "key=letter ..." in key order
  std::string message;
  bool has_index;
};

Reading read(const std::string& listing, int band_index, const char* path = "L.csv") {
  std::FILE* stream = test::stream_of(listing);
  SettingsRecord record = test::record_for(band_index);
  GridIndex index = read_listing(stream, path, record);
  std::fclose(stream);
  Reading reading{"", record.message, !index.empty()};
  walk(index.root(), reading.entries);
  return reading;
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
  const std::string long_row = "FN31," + std::string(300, 'r') + ",W";
  std::string wide_header = "Grid";
  for (int column = 1; column < 20; ++column) wide_header += column == 18 ? ",23CM" : ",remarks";
  const Case cases[] = {
      {"empty file", "", 1, "", read_count(0)},
      {"header only", "Grid,2M\n", 1, "", read_count(0)},
      {"header without line end", "Grid,2M", 1, "", read_count(0)},
      {"grid", "grid,2M\nFN31,W\n", 1, "", kFormatError},
      {"GRID", "GRID,2M\nFN31,W\n", 1, "", kFormatError},
      {"blank before Grid", " Grid,2M\nFN31,W\n", 1, "", kFormatError},
      {"empty first field", ",Grid,2M\nFN31,W\n", 1, "", kFormatError},
      {"empty first line", "\nGrid,2M\nFN31,W\n", 1, "", kFormatError},
      {"Prefix", "Prefix,2M\nFN31,W", 1, "FN31=W", read_count(1)},
      {"6M of three", "Grid,6M,2M,6CM\nFN31,L,W,C\n", 0, "FN31=L", read_count(1)},
      {"2M of three", "Grid,6M,2M,6CM\nFN31,L,W,C\n", 1, "FN31=W", read_count(1)},
      {"6CM of three", "Grid,6M,2M,6CM\nFN31,L,W,C\n", 8, "FN31=C", read_count(1)},
      {"6 M (CW)", "Grid,6 M (CW)\nFN31,C\n", 8, "FN31=C", read_count(1)},
      {"2.3 as 2 m", "Grid,2.3,144\nFN31,L,W\n", 1, "FN31=L", read_count(1)},
      {"2.3 as 13 cm", "Grid,2.3,144\nFN31,L,W\n", 6, "FN31=L", read_count(1)},
      {"left of two", "Grid,144,2M\nFN31,L,W\n", 1, "FN31=L", read_count(1)},
      {"no band column", "Grid,6M,remarks\nFN31,L\n", 1, "",
       "ERROR: No match found for band 2 M (144 MHz) in L.csv\n\n"},
      {"key column only", "Grid\nFN31\n", 10, "", "ERROR: No match found for band Satellite in L.csv\n\n"},
      {"band in field 19", wide_header + "\nFN31" + std::string(17, ',') + ",C\n", 5, "FN31=C", read_count(1)},
      {"empty cell keeps its place", "Grid,6M,2M,220\nFN31,,W,C\n", 1, "FN31=W", read_count(1)},
      {"empty band cell", "Grid,6M,2M,220\nFN31,,W,C\nFN32,L\nFN33,L,,C\n", 0, "FN32=L FN33=L", read_count(2)},
      {"line ends", "Grid,2M\r\nFN31,W\rFN32,C\r\n\nFN33,L\n\rFN34,*", 1, "FN31=W FN32=C FN33=L FN34=*",
       read_count(4)},
      {"first cell letter only", "Grid,2M\nFN31,Wx\nFN32,c\n", 1, "FN31=W FN32=c", read_count(2)},
      {"no quoting or trimming", "Grid,2M\n\"FN31\",W\n FN32, C\nfn33,\tL\n", 1, " FN32=  \"FN31\"=W fn33=\t",
       read_count(3)},
      {"first letter stays", "Grid,2M\nFN31,C\nFN31,W\n", 1, "FN31=C", read_count(2)},
      {"rows without grid or cell", "Grid,2M\n,W\nFN31\nFN32,\n\n,\n", 1, "", read_count(0)},
      {"long line", "Grid,6M,2M\n" + long_row + "\nFN32,L,L\n", 1, "FN31=W FN32=L", read_count(2)},
  };
  for (const Case& c : cases) {
    Reading reading = read(c.listing, c.band);
    EXPECT_EQ(reading.entries, c.entries) << c.id;
    EXPECT_EQ(reading.message, c.message) << c.id;
    EXPECT_EQ(reading.has_index, !c.entries.empty()) << c.id;
  }
}

TEST(ListingReader, MessageIsCutForALongPath) {
  const std::string path(400, 'p');
  Reading reading = read("Grid,2M\nFN31,W\n", 1, path.c_str());
  EXPECT_EQ(reading.message, "Read     1 worked grids from " + std::string(226, 'p'));
  reading = read("Grid,6M\n", 1, path.c_str());
  EXPECT_EQ(reading.message, "ERROR: No match found for band 2 M (144 MHz) in " + std::string(207, 'p'));
}

}  // namespace
}  // namespace zelk

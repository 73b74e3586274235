// What a chaser asks next, against statuses, fields and counts worked out by hand.
#include "mappage/chase.h"

#include <string>

#include <gtest/gtest.h>

#include "listing/band_table.h"
#include "mappage/map_page.h"
#include "test_helpers.h"

namespace zelk {
namespace {

TEST(Chase, AnyBandTakesEachGridsBestStatus) {
  std::FILE* in = test::stream_of("Grid,6M,2M,Notes,SAT\nEM00,W,C,*\nEM01,S,*\nEM02,N,,,W\nEM03,S,C\nEM04,x\nEM05\n");
  const ListingBands listing = read_every_band(in);
  std::fclose(in);
  // EM00's "*" is in no band's column; EM03's S and C are both confirmed unless S counts as checked.
  for (auto [s_checked, classes] : {std::pair{0, "confirmed checked worked confirmed unworked -"},
                                    {1, "confirmed checked worked checked unworked -"}}) {
    SettingsRecord record = test::record_for(kAnyBand);
    record.submitted_as_checked_option = s_checked;
    const GridIndex index = any_band_index(listing, record);
    std::string seen;
    for (const char* grid : {"EM00", "EM01", "EM02", "EM03", "EM04", "EM05"}) {
      const std::optional<char> letter = index.find(grid);
      seen += std::string(seen.empty() ? "" : " ") + (letter ? status_class(*letter, record) : "-");
    }
    EXPECT_EQ(seen, classes) << s_checked;
  }
}

// Landscape maps are 4 fields by 3, portrait 3 by 4, 11x17 6 by 4.
TEST(Chase, FieldAutoFindsTheMapHoldingMost) {
  const struct {
    const char* grids;  // each with its letter
    PrintFormat format;
    const char* field;  // "" when none is found
  } cases[] = {
      {"EM00W", kLandscape, "BK"},  // the westmost, then the southmost, of the maps that hold it
      {"EM00W FN42C JO22*", kLandscape, "CL"},
      {"EM00W FN42C JO22*", kTabloid, "EL"},
      {"EM00W FN42C JO22* JO23W JO24W", kPortrait, "HL"},
      {"AA00N fn42W FN4W RR00W", kLandscape, "OP"},  // unworked and off-map grids count for nothing
      {"AA00W RR99W", kPortrait, "AA"},
      {"EM00N", kLandscape, ""},
  };
  for (const auto& c : cases) {
    GridIndex index;
    for (std::string grids = c.grids; !grids.empty(); grids.erase(0, grids.find(' ') + 1)) {
      const std::string grid = grids.substr(0, grids.find(' '));
      index.insert(grid.substr(0, grid.size() - 1), grid.back());
      if (grids.find(' ') == grids.npos) break;
    }
    SettingsRecord record = test::record_for(1);
    set_print_format(record, c.format);
    EXPECT_EQ(find_lower_left_field(index, record), *c.field != '\0') << c.grids;
    EXPECT_STREQ(record.lower_left_field, c.field) << c.grids;
  }
}

// CM holds 12 FFMA squares (79, 86-89, 93-99), EM all 100; DM00 is none.
TEST(Chase, FfmaNeededAndCreditedMakeTheWhole) {
  GridIndex index;
  for (const char* grid : {"EM00W", "EM01C", "CM79*", "AA00W", "DM00W", "DM02N", "CM86L"})
    index.insert(std::string(grid, 4), grid[4]);
  const FfmaNeeds needs = ffma_needs(index, test::record_for(1));
  EXPECT_EQ(needs.needed.size(), 484u);
  EXPECT_EQ(needs.only_worked, (std::vector<std::string>{"CM86", "EM00"}));
  std::FILE* out = std::tmpfile();
  write_ffma_list(out, needs, 1, 0);
  std::rewind(out);
  std::string page(20000, '\0');
  page.resize(std::fread(page.data(), 1, page.size(), out));
  std::fclose(out);
  for (const char* text : {"<title>ZELK FFMA Squares Needed on 2 M (144 MHz) - 01 January 1970</title>",
                           "484 of 488 FFMA squares needed, 4 credited.", "<b>CM</b> (10): CM87 CM88 CM89 CM93 ",
                           "<b>EM</b> (98): EM02 EM03", "confirm them (2)</h2>\n<div class='fields'>\n"
                           "<p><b>CM</b> (1): CM86</p>\n<p><b>EM</b> (1): EM00</p>\n</div>"})
    EXPECT_NE(page.find(text), page.npos) << text;
}

}  // namespace
}  // namespace zelk

// What a chaser asks next, against statuses and fields worked out by hand (the FFMA
// list's counts: tests/cli).
#include "mappage/chase.h"

#include <sstream>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "listing/band_table.h"
#include "mappage/map_page.h"
#include "test_helpers.h"

namespace zelk {
namespace {

TEST(Chase, AnyBandTakesEachGridsBestStatus) {
  std::FILE* in = test::stream_of("Grid,6M,2M,Notes,SAT\nEM00,W,C,*\nEM01,S,*\nEM02,N,,,W\nEM03,S,C\nEM04,x\nEM05\n");
  const ListingBands listing = read_every_band(in, "L.csv");
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
  // Grids with their letters; the field found, "" for none. Of the maps that hold EM00 the
  // westmost, then the southmost; unworked and off-map grids count for nothing.
  for (auto [grids, format, field] : {std::tuple{"EM00W", kLandscape, "BK"}, {"EM00W FN42C JO22*", kLandscape, "CL"},
                                      {"EM00W FN42C JO22*", kTabloid, "EL"}, {"AA00W RR99W", kPortrait, "AA"},
                                      {"EM00W FN42C JO22* JO23W JO24W", kPortrait, "HL"},
                                      {"AA00N fn42W FN4W RR00W", kLandscape, "OP"}, {"EM00N", kLandscape, ""}}) {
    GridIndex index;
    std::istringstream words(grids);
    for (std::string grid; words >> grid;) index.insert(grid.substr(0, grid.size() - 1), grid.back());
    SettingsRecord record = test::record_for(1);
    set_print_format(record, format);
    EXPECT_EQ(find_lower_left_field(index, record), *field != '\0') << grids;
    EXPECT_STREQ(record.lower_left_field, field) << grids;
  }
}

}  // namespace
}  // namespace zelk

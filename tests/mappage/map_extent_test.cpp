// Which fields a map shows, and the field whose map holds the most.
#include "mappage/map_extent.h"

#include <sstream>
#include <string>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "test_helpers.h"

namespace zelk {
namespace {

// Maps start at AA..RR and reach 5 fields east and 3 north of that: a grid
// past them, or not written as a map writes squares, counts as written otherwise.
TEST(MapExtent, WhichGridsSomeMapShows) {
  for (auto [grid, shown] : {std::pair{"AA00", true}, {"WU99", true}, {"XA00", false}, {"AV00", false},
                             {"@A00", false}, {"A@00", false}, {"FN4", false}, {"FN4a", false}, {"FN42a", false}})
    EXPECT_EQ(on_some_map(grid), shown) << grid;
}

// Landscape maps are 4 fields by 3, portrait 3 by 4, 11x17 6 by 4.
TEST(MapExtent, FieldAutoFindsTheMapHoldingMost) {
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

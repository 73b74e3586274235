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

// Landscape maps are 4 fields by 3, portrait 3 by 4, 11x17 6 by 4. Of the
// maps that hold the most grids, the one centred nearest on those it holds:
// each field worked out square by square from that rule, apart from the
// program. Unworked and off-map grids count for nothing.
TEST(MapExtent, FieldAutoCentresTheMapOnItsGrids) {
  std::string europe;
  for (const char* field : {"IO", "JO", "JN", "KO", "KN", "IN", "JP", "KP", "LO"})
    for (const char* square : {"00", "35", "71", "99"}) europe += std::string(" ") + field + square;
  for (auto [grids, format, field] :
       {std::tuple{std::string("EM73"), kLandscape, "DL"},
        {"FN31 FN32 FN41 FN42 FN43 FN44 FN53 FN54 FN55 FN56 FN57 FN64 FN65 FN66 FN67", kLandscape, "DM"},
        {europe, kTabloid, "HM"}, {europe, kLandscape, "IN"}, {"AA00 RR99", kPortrait, "QQ"},
        {"EM00 FN42 JO22 JO23 JO24", kPortrait, "IM"}, {"", kLandscape, ""}}) {
    GridIndex index;
    std::istringstream words(grids);
    int count = 0;
    for (std::string grid; words >> grid; ++count) index.insert(grid, "WC*"[count % 3]);
    for (const auto& [grid, letter] : {std::pair{"AA00", 'N'}, {"fn42", 'W'}, {"RR0", 'C'}}) index.insert(grid, letter);
    SettingsRecord record = test::record_for(1, "EM");
    set_print_format(record, format);
    EXPECT_EQ(find_lower_left_field(index, record), *field != '\0') << grids;
    EXPECT_STREQ(record.lower_left_field, *field != '\0' ? field : "EM") << grids;
  }
}

}  // namespace
}  // namespace zelk

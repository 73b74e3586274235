// The FFMA grid set and the outline table, checked against each other.
#include "ffma/ffma_data.h"

#include <map>
#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace zelk {
namespace {

// Squares as (longitude, latitude) counted in squares from field AA.
using Square = std::pair<int, int>;

Square square_of(const std::string& grid) {
  return {(grid[0] - 'A') * 10 + (grid[2] - '0'), (grid[1] - 'A') * 10 + (grid[3] - '0')};
}

int member(Square s) {
  const char grid[] = {char('A' + s.first / 10), char('A' + s.second / 10), char('0' + s.first % 10),
                       char('0' + s.second % 10), '\0'};
  return ffma_member(grid);
}

TEST(FfmaData, SetHas488SquaresInTenFields) {
  std::map<std::string, int> per_field;
  for (int longitude = 0; longitude < 180; ++longitude)
    for (int latitude = 0; latitude < 180; ++latitude)
      if (member({longitude, latitude}) == 1) ++per_field[{char('A' + longitude / 10), char('A' + latitude / 10)}];
  EXPECT_EQ(per_field, (std::map<std::string, int>{{"CM", 12}, {"CN", 27}, {"DL", 5}, {"DM", 90}, {"DN", 90},
                                                    {"EL", 27}, {"EM", 100}, {"EN", 80}, {"FM", 20}, {"FN", 37}}));
}

TEST(FfmaData, MembershipAndOutlineLookup) {
  const std::pair<const char*, int> members[] = {
      {"FN42", 1},  {"DN08", 1},  {"CM79", 1},  {"DL89", 1},   {"EL06", 1}, {"EM55", 1},  {"FN40", 0},  {"DN09", 0},
      {"CM78", 0},  {"DL90", 0},  {"EL05", 0},  {"FN04", 0},   {"FN4", 0},  {"FN042", 1}, {"FN", 1},    {"FN-1", 0},
      {"FN100", 0}, {"FN 42", 1}, {"FN+2", 1},  {"FN42AB", 1}, {"EM", 1},   {"EM123", 1}, {"EMxyz", 1}, {"fn42", 0},
      {"Fn42", 0},  {"fN42", 0},  {"F", 0},     {"GN42", 0},   {"FN99999999999999999999", 0},
      {"FN-99999999999999999999", 0}};
  for (auto [grid, expected] : members) EXPECT_EQ(ffma_member(grid), expected) << grid;
  const std::pair<const char*, const char*> outlines[] = {
      {"CN99", "S"},    {"EL69", "NE"},   {"EL07", "W"},     {"EN67", "NE"}, {"EN68", "S"},
      {"DN50", "none"}, {"cn99", "none"}, {"CN99 ", "none"}, {"CN9", "none"}};
  for (auto [grid, expected] : outlines) EXPECT_STREQ(outline_border_class(grid), expected) << grid;
}

// Every side the table names separates a square of the set from one outside
// it, and every such side is named; the side between EN67 and EN68 twice.
TEST(FfmaData, OutlineTracesTheSetsWholeBoundary) {
  std::set<std::pair<Square, Square>> named, boundary;
  std::map<std::string, int> class_counts;
  std::set<std::string> grids;
  int named_sides = 0, members = 0;
  for (const OutlineRow& row : kOutlineTable) {
    EXPECT_TRUE(grids.insert(row.grid).second) << row.grid << " twice";
    ++class_counts[row.border_class];
    const Square square = square_of(row.grid);
    members += member(square);
    for (const char* side = row.border_class; *side != '\0'; ++side, ++named_sides) {
      Square across = square;
      switch (*side) {
        case 'N': ++across.second; break;
        case 'S': --across.second; break;
        case 'E': ++across.first; break;
        case 'W': --across.first; break;
        default: ADD_FAILURE() << row.grid << " " << row.border_class;
      }
      EXPECT_NE(member(square), member(across)) << row.grid << " " << *side;
      named.insert(std::minmax(square, across));
    }
  }
  for (int longitude = 1; longitude < 179; ++longitude)
    for (int latitude = 1; latitude < 179; ++latitude)
      for (Square across : {Square{longitude + 1, latitude}, Square{longitude, latitude + 1}})
        if (member({longitude, latitude}) != member(across)) boundary.insert({{longitude, latitude}, across});
  EXPECT_EQ(boundary.size(), 138u);
  EXPECT_EQ(named, boundary);
  EXPECT_EQ(named_sides, 139);
  EXPECT_EQ(members, 58);
  EXPECT_EQ(class_counts,
            (std::map<std::string, int>{{"E", 50}, {"S", 42}, {"SE", 18}, {"NE", 3}, {"SW", 2}, {"W", 1}}));
  EXPECT_STREQ(kOutlineTable[0].grid, "CN99");
  EXPECT_STREQ(kOutlineTable[kOutlineRows - 1].grid, "DN09");
}

}  // namespace
}  // namespace zelk

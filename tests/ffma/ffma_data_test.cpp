// The FFMA set and its outline checked against each other.
#include "ffma/ffma_data.h"

#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace zelk {
namespace {

// Squares as (longitude, latitude) counted in squares from field AA.
using Square = std::pair<int, int>;

int member(Square s) {
  const char grid[] = {char('A' + s.first / 10), char('A' + s.second / 10), char('0' + s.first % 10),
                       char('0' + s.second % 10), '\0'};
  return ffma_member(grid);
}

TEST(FfmaData, MembershipAndOutlineLookup) {
  // The map asks about its own squares only: capitals past "R" included.
  for (auto [grid, expected] : {std::pair{"FN42", 1}, {"CN99", 0}, {"EL99", 1}, {"SA00", 0}, {"ZZ99", 0}})
    EXPECT_EQ(ffma_member(grid), expected) << grid;
  for (const char* grid : {"DN50", "cn99", "CN99 ", "CN9", "BN99", "GN99", "CK99", "CO99", "CN/9", "CN:9", "CN9/"})
    EXPECT_STREQ(outline_border_class(grid), "none") << grid;
}

// The set has its 488 squares. Every side the table names separates a square
// of the set from one outside it, and every such side is named; the side
// between EN67 and EN68 twice.
TEST(FfmaData, OutlineTracesTheSetsWholeBoundary) {
  std::set<std::pair<Square, Square>> named, boundary;
  int named_sides = 0;
  for (const OutlineRow& row : kOutlineTable) {
    EXPECT_STREQ(outline_border_class(row.grid), row.border_class) << row.grid;
    const Square square{(row.grid[0] - 'A') * 10 + (row.grid[2] - '0'), (row.grid[1] - 'A') * 10 + (row.grid[3] - '0')};
    for (const char* side = row.border_class; *side != '\0'; ++side, ++named_sides) {
      // A letter that names no side leaves `across` on the square itself.
      const Square across{square.first + (*side == 'E') - (*side == 'W'),
                          square.second + (*side == 'N') - (*side == 'S')};
      EXPECT_NE(member(square), member(across)) << row.grid << " " << *side;
      named.insert(std::minmax(square, across));
    }
  }
  int members = 0;
  for (int longitude = 1; longitude < 179; ++longitude)
    for (int latitude = 1; latitude < 179; ++latitude) {
      members += member({longitude, latitude});
      for (Square across : {Square{longitude + 1, latitude}, Square{longitude, latitude + 1}})
        if (member({longitude, latitude}) != member(across)) boundary.insert({{longitude, latitude}, across});
    }
  EXPECT_EQ(members, 488);
  EXPECT_EQ(boundary.size(), 138u);
  EXPECT_EQ(named, boundary);
  EXPECT_EQ(named_sides, 139);
}

}  // namespace
}  // namespace zelk

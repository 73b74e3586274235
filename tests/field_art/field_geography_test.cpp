// Reading the reduced geography: records, deltas, and damaged files refused whole.
#include "field_art/field_geography.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zelk {
namespace {

TEST(ReadGeography, RecordsByKindWithDeltasAndBounds) {
  std::istringstream in(
      "# comment\n"
      "L 4 -7200 4200 200 0 0 100 -200 0\n"
      "\n"
      "W 3 -7100 4250 10 10 -10 10\n"
      "B 2 -7000 4500 -50 -25\n"
      "S 2 18000 -9000 -36000 0\n");
  Geography g;
  std::string error;
  ASSERT_TRUE(read_geography(in, g, error)) << error;
  ASSERT_EQ(g.land.size() + g.lakes.size() + g.borders.size() + g.state_borders.size(), 4u);
  const GeoPath& land = g.land[0];
  ASSERT_EQ(land.points.size(), 4u);
  EXPECT_TRUE(land.points[1].lon == -70.0 && land.points[1].lat == 42.0);
  EXPECT_TRUE(land.points[3].lon == -72.0 && land.points[3].lat == 43.0);
  EXPECT_TRUE(land.west == -72.0 && land.east == -70.0 && land.south == 42.0 && land.north == 43.0);
}

TEST(ReadGeography, DamagedFilesAreRefusedWhole) {
  const std::string land = "L 3 0 0 100 0 0 100\n";
  struct Case {
    std::string text;
    const char* error;
  } cases[] = {
      {land + "X 2 0 0 1 1\n", "line 2: unknown record kind"},
      {"L 1 0 0\n", "line 1: bad point count"},
      {"L 99999999 0 0\n", "line 1: point count larger than the record"},
      {"# head\n" + land + "B 3 0 0 1 1 2\n", "line 3: too few coordinates"},
      {"L 2 0 0 1 1 2 2\n", "line 1: more coordinates than the count"},
      {"L 2 0 0 1 1 x\n", "line 1: more coordinates than the count"},
      {"L 2 0 0 1 1x\n", "line 1: too few coordinates"},
      {"L 2 17900 0 200 0\n", "line 1: point off the globe"},
      {"B 2 0 0 1 1\n", "no land in the file"},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    Geography g;
    std::string error;
    EXPECT_FALSE(read_geography(in, g, error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
    EXPECT_TRUE(g.land.empty() && g.borders.empty()) << c.text;
  }
}

}  // namespace
}  // namespace zelk

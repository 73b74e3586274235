// Reading the reduced geography: records, deltas, and damaged files refused whole.
#include "images/field_geography.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
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
  Geography geography;
  std::string error;
  ASSERT_TRUE(read_geography(in, geography, error)) << error;
  ASSERT_EQ(geography.land.size(), 1u);
  ASSERT_EQ(geography.lakes.size(), 1u);
  ASSERT_EQ(geography.borders.size(), 1u);
  ASSERT_EQ(geography.state_borders.size(), 1u);

  const GeoPath& land = geography.land[0];
  ASSERT_EQ(land.points.size(), 4u);
  EXPECT_DOUBLE_EQ(land.points[1].lon, -70.0);
  EXPECT_DOUBLE_EQ(land.points[1].lat, 42.0);
  EXPECT_DOUBLE_EQ(land.points[3].lon, -72.0);
  EXPECT_DOUBLE_EQ(land.points[3].lat, 43.0);
  EXPECT_DOUBLE_EQ(land.west, -72.0);
  EXPECT_DOUBLE_EQ(land.east, -70.0);
  EXPECT_DOUBLE_EQ(land.south, 42.0);
  EXPECT_DOUBLE_EQ(land.north, 43.0);

  EXPECT_DOUBLE_EQ(geography.borders[0].points[1].lon, -70.5);
  EXPECT_DOUBLE_EQ(geography.borders[0].points[1].lat, 44.75);
  EXPECT_DOUBLE_EQ(geography.state_borders[0].west, -180.0);
  EXPECT_DOUBLE_EQ(geography.state_borders[0].east, 180.0);
}

TEST(ReadGeography, DamagedFilesAreRefusedWhole) {
  const std::string land = "L 3 0 0 100 0 0 100\n";
  struct Case {
    const char* id;
    std::string text;
    const char* error;
  } cases[] = {
      {"unknown kind", land + "X 2 0 0 1 1\n", "line 2: unknown record kind"},
      {"kind without blank", "L3 0 0 1 1 1 1\n", "line 1: unknown record kind"},
      {"one point", "L 1 0 0\n", "line 1: bad point count"},
      {"count not a number", "L x 0 0\n", "line 1: bad point count"},
      {"count beyond the record", "L 99999999 0 0\n", "line 1: point count larger than the record"},
      {"too few coordinates", "# head\n" + land + "B 3 0 0 1 1 2\n", "line 3: too few coordinates"},
      {"too many coordinates", "L 2 0 0 1 1 2 2\n", "line 1: more coordinates than the count"},
      {"trailing junk", "L 2 0 0 1 1 x\n", "line 1: more coordinates than the count"},
      {"number glued to text", "L 2 0 0 1 1x\n", "line 1: too few coordinates"},
      {"beyond the date line", "L 2 17900 0 200 0\n", "line 1: point off the globe"},
      {"beyond the pole", "S 2 0 8900 0 200\n", "line 1: point off the globe"},
      {"no land", "B 2 0 0 1 1\n", "no land in the file"},
      {"empty", "", "no land in the file"},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    Geography geography;
    geography.borders.resize(5);
    std::string error;
    EXPECT_FALSE(read_geography(in, geography, error)) << c.id;
    EXPECT_EQ(error, c.error) << c.id;
    EXPECT_TRUE(geography.land.empty() && geography.borders.empty()) << c.id;
  }
}

TEST(ReadGeography, TheCommittedFileReadsWhole) {
  std::ifstream in(ZELK_GEOGRAPHY_FILE);
  ASSERT_TRUE(in) << ZELK_GEOGRAPHY_FILE;
  Geography geography;
  std::string error;
  ASSERT_TRUE(read_geography(in, geography, error)) << error;
  EXPECT_GT(geography.land.size(), 1000u);
  EXPECT_FALSE(geography.lakes.empty());
  EXPECT_GT(geography.borders.size(), 100u);
  EXPECT_GT(geography.state_borders.size(), 10u);
  // Nothing may jump across the date line, since the images draw straight
  // segments; only Antarctica's ring runs along the pole from end to end.
  for (const auto* list : {&geography.land, &geography.lakes, &geography.borders, &geography.state_borders})
    for (const GeoPath& path : *list)
      for (std::size_t i = 1; i < path.points.size(); ++i) {
        if (path.points[i].lat == -90.0 && path.points[i - 1].lat == -90.0) continue;
        ASSERT_LE(std::abs(path.points[i].lon - path.points[i - 1].lon), 180.0);
      }
}

}  // namespace
}  // namespace zelk

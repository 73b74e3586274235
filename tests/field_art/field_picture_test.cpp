// The field pictures: the grid's own projection (every square's geography
// behind its cell), fill and lines, the seams of the map, and the real
// geography at places whose look is known.
#include "field_art/field_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace zelk {
namespace {

GeoPath path_of(std::vector<GeoPoint> points) {
  GeoPath path{points, 1e9, -1e9, 1e9, -1e9};
  for (const GeoPoint& p : points) {
    path.west = std::min(path.west, p.lon), path.east = std::max(path.east, p.lon);
    path.south = std::min(path.south, p.lat), path.north = std::max(path.north, p.lat);
  }
  return path;
}

// Without the letters, a pixel is land, sea, or touched by a line.
enum class Look { kLand, kSea, kInk };
Look look_of(const Rgb& c) { return c == kLandColor ? Look::kLand : c == kSeaColor ? Look::kSea : Look::kInk; }

TEST(FieldPicture, ProjectionPutsEachSquareBehindItsCell) {
  struct Case {
    GeoPoint point;
    const char* field;
    double x, y;
  } cases[] = {{{-80, 40}, "FN", 1, 221}, {{-71.5, 42.25}, "FN", 103, 171.5}, {{180, 90}, "RR", 241, 1}};
  for (const Case& c : cases) {
    PixelPoint p = project(c.point, field_west(c.field[0]), field_south(c.field[1]));
    EXPECT_EQ(p.x, c.x) << c.field;
    EXPECT_EQ(p.y, c.y) << c.field;
  }
  // Every square's corners land on its cell's corners.
  for (int column = 0; column < 10; ++column) {
    for (int row = 0; row < 10; ++row) {
      PixelRect r = square_pixels(column, row);
      PixelPoint north_west = project({-100.0 + 2 * column, 31.0 + row}, field_west('E'), field_south('M'));
      PixelPoint south_east = project({-98.0 + 2 * column, 30.0 + row}, field_west('E'), field_south('M'));
      EXPECT_TRUE(north_west.x == r.left && north_west.y == r.top && south_east.x == r.right &&
                  south_east.y == r.bottom)
          << "EM" << column << row;
    }
  }
}

TEST(FieldPicture, LandOfOneSquareFillsExactlyItsCell) {
  Geography geography;
  // FN42 (pixels 97..120 x 155..176), with a lake in its middle.
  geography.land.push_back(path_of({{-72, 42}, {-70, 42}, {-70, 43}, {-72, 43}, {-72, 42}}));
  geography.lakes.push_back(path_of({{-71.5, 42.25}, {-70.5, 42.25}, {-70.5, 42.75}, {-71.5, 42.75}}));
  IndexedPicture picture = draw_field(geography, 'F', 'N', false);
  EXPECT_EQ(picture.at(99, 157), kLandColor);
  EXPECT_EQ(picture.at(118, 174), kLandColor);
  EXPECT_EQ(picture.at(109, 166), kSeaColor) << "the lake";
  EXPECT_EQ(look_of(picture.at(103, 171)), Look::kInk) << "the lake's shore";
  // The coast on the cell's edges, half over the land inside and half over the
  // sea outside, and sea a pixel beyond.
  for (int a : {0, 10, 21}) {
    for (auto [x, y, dx, dy] :
         {std::array{97, 155 + a, -1, 0}, {120, 155 + a, 1, 0}, {97 + a, 155, 0, -1}, {97 + a, 176, 0, 1}}) {
      EXPECT_EQ(look_of(picture.at(x, y)), Look::kInk) << x << "," << y;
      EXPECT_NE(picture.at(x, y), picture.at(x + dx, y + dy)) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{95, 155 + a}, {122, 155 + a}, {97 + a, 153}, {97 + a, 178}})
      EXPECT_EQ(picture.at(x, y), kSeaColor) << x << "," << y;
  }
  EXPECT_EQ(draw_field(geography, 'G', 'N', false).at(5, 166), kSeaColor) << "not in the next field";
}

TEST(FieldPicture, SeamsOfTheMapAreNoCoast) {
  Geography geography;
  // Land against the date line and the south pole, as Antarctica is cut.
  geography.land.push_back(path_of({{-180, -90}, {-170, -90}, {-170, -85}, {-180, -85}, {-180, -90}}));
  geography.borders.push_back(path_of({{-159.9, -88}, {-159.9, -82}}));
  IndexedPicture picture = draw_field(geography, 'A', 'A', false);
  EXPECT_EQ(picture.at(0, 60), kSeaColor) << "a line just past the east edge stays off the west edge";
  EXPECT_EQ(picture.at(1, 150), kLandColor) << "along the date line";
  EXPECT_EQ(picture.at(60, 220), kLandColor) << "along the pole";
  EXPECT_EQ(look_of(picture.at(120, 150)), Look::kInk) << "a real coast at 170 W";
  EXPECT_EQ(look_of(picture.at(60, 111)), Look::kInk) << "a real coast at 85 S";
}

TEST(FieldPicture, LettersAreFaint) {
  const IndexedPicture picture = draw_field(Geography(), 'F', 'N');
  // The stem of the F runs down the left of the picture.
  EXPECT_NE(picture.at(29, 150), kSeaColor);
  EXPECT_GE(picture.at(29, 150)[0], 225);
  EXPECT_EQ(picture.at(29, 200), kSeaColor) << "below the letters";
}

// Places whose look anyone can check on a map, in the real geography.
class RealGeography : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::ifstream in(ZELK_GEOGRAPHY_FILE);
    std::string error;
    ASSERT_TRUE(read_geography(in, geography_, error)) << error;
  }
  // The look at the point, or kInk when a line passes within `reach` pixels.
  static Look look_near(const GeoPoint& point, const char* field, int reach) {
    IndexedPicture picture = draw_field(geography_, field[0], field[1], false);
    PixelPoint p = project(point, field_west(field[0]), field_south(field[1]));
    Look seen = look_of(picture.at(int(p.x), int(p.y)));
    for (int y = int(p.y) - reach; y <= int(p.y) + reach; ++y)
      for (int x = int(p.x) - reach; x <= int(p.x) + reach; ++x)
        if (look_of(picture.at(x, y)) == Look::kInk) seen = Look::kInk;
    return seen;
  }
  static Geography geography_;
};
Geography RealGeography::geography_;

TEST_F(RealGeography, KnownPlacesLookRight) {
  struct Case {
    const char* id;
    GeoPoint point;
    const char* field;
    Look look;
  } cases[] = {
      {"Kansas", {-98.5, 38.5}, "EM", Look::kLand},
      {"Tasmania", {146.5, -42}, "QE", Look::kLand},
      // Lakes, on both sides of the borders through them, and the land around and in them.
      {"Lake Michigan", {-87.0, 43.5}, "EN", Look::kSea},
      {"Lake Superior, Canadian half", {-87.0, 48.3}, "EN", Look::kSea},
      {"Lake Ontario, Canadian half", {-78.5, 43.75}, "FN", Look::kSea},
      {"Lake Tanganyika", {29.95, -7.0}, "KI", Look::kSea},
      {"Lake Titicaca", {-69.65, -15.8}, "FH", Look::kSea},
      {"Manitoulin Island", {-82.2, 45.75}, "EN", Look::kLand},
      {"Chicago", {-87.7, 41.85}, "EN", Look::kLand},
      {"Toronto", {-79.45, 43.72}, "FN", Look::kLand},
  };
  for (const Case& c : cases) EXPECT_EQ(look_near(c.point, c.field, 0), c.look) << c.id;
}

TEST_F(RealGeography, KnownLinesPassThroughTheirSquares) {
  struct Case {
    const char* id;
    GeoPoint point;
    const char* field;
    int column, row;  // the square the point belongs to
  } cases[] = {
      {"Cape Hatteras", {-75.53, 35.23}, "FM", 2, 5},
      {"Cape Cod, Chatham", {-69.94, 41.67}, "FN", 5, 1},
      {"Cape of Good Hope", {18.47, -34.36}, "JF", 9, 5},
      {"US-Canada border, the line between DN58 and DN59", {-110, 49}, "DN", 5, 8},
      {"Kansas-Colorado line", {-102.05, 38.5}, "DM", 8, 8},
      {"US-Canada border through Lake Ontario", {-78.5, 43.64}, "FN", 0, 3},
  };
  for (const Case& c : cases) {
    PixelPoint p = project(c.point, field_west(c.field[0]), field_south(c.field[1]));
    PixelRect square = square_pixels(c.column, c.row);
    EXPECT_TRUE(p.x >= square.left && p.x < square.right && p.y >= square.top && p.y < square.bottom) << c.id;
    EXPECT_EQ(look_near(c.point, c.field, 1), Look::kInk) << c.id;
  }
}

// The pictures draw straight segments; only Antarctica's ring runs along the pole from end to end.
TEST_F(RealGeography, NoLineJumpsOverTheDateLine) {
  for (const auto* list : {&geography_.land, &geography_.lakes, &geography_.borders, &geography_.state_borders})
    for (const GeoPath& path : *list)
      for (std::size_t i = 1; i < path.points.size(); ++i)
        ASSERT_TRUE(std::abs(path.points[i].lon - path.points[i - 1].lon) <= 180.0 ||
                    (path.points[i].lat == -90.0 && path.points[i - 1].lat == -90.0));
}

TEST_F(RealGeography, NothingIsAsDarkAsThePagesGrayDigits) {
  for (const char* field : {"FN", "EM", "JO", "PM", "AA"})
    for (const Rgb& c : draw_field(geography_, field[0], field[1]).palette)
      EXPECT_GT(*std::min_element(c.begin(), c.end()), 140) << field;
}

}  // namespace
}  // namespace zelk

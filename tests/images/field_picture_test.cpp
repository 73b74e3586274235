// The field pictures: the grid's own projection (every square's geography
// behind its cell), filling, lines, the seams of the map, and the real
// geography at places whose look is known.
#include "images/field_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace zelk {
namespace {

GeoPath path_of(std::vector<GeoPoint> points) {
  GeoPath path;
  path.points = std::move(points);
  path.west = path.south = 1e9;
  path.east = path.north = -1e9;
  for (const GeoPoint& p : path.points) {
    path.west = std::min(path.west, p.lon);
    path.east = std::max(path.east, p.lon);
    path.south = std::min(path.south, p.lat);
    path.north = std::max(path.north, p.lat);
  }
  return path;
}

// Without the letters, a pixel is land, sea, or touched by a line.
enum class Look { kLand, kSea, kInk };
Look look_of(const Rgb& c) {
  if (c == kLandColor) return Look::kLand;
  if (c == kSeaColor) return Look::kSea;
  return Look::kInk;
}

TEST(FieldPicture, ProjectionPutsEachSquareBehindItsCell) {
  EXPECT_EQ(kFieldImageWidth, 242);
  EXPECT_EQ(kFieldImageHeight, 222);
  struct Case {
    const char* id;
    GeoPoint point;
    char lon_letter, lat_letter;
    double x, y;
  } cases[] = {
      {"FN south-west corner", {-80, 40}, 'F', 'N', 1, 221},
      {"FN north-east corner", {-60, 50}, 'F', 'N', 241, 1},
      {"FN42 south-west corner", {-72, 42}, 'F', 'N', 97, 177},
      {"inside FN42", {-71.5, 42.25}, 'F', 'N', 103, 171.5},
      {"AA south-west corner", {-180, -90}, 'A', 'A', 1, 221},
      {"RR north-east corner", {180, 90}, 'R', 'R', 241, 1},
      {"JJ centre", {10, 5}, 'J', 'J', 121, 111},
  };
  for (const Case& c : cases) {
    PixelPoint p = project(c.point, field_west(c.lon_letter), field_south(c.lat_letter));
    EXPECT_DOUBLE_EQ(p.x, c.x) << c.id;
    EXPECT_DOUBLE_EQ(p.y, c.y) << c.id;
  }

  struct SquareCase {
    int column, row;
    PixelRect rect;
  } squares[] = {{0, 9, {1, 1, 25, 23}}, {4, 2, {97, 155, 121, 177}}, {9, 0, {217, 199, 241, 221}}};
  for (const SquareCase& s : squares) {
    PixelRect r = square_pixels(s.column, s.row);
    EXPECT_EQ(r.left, s.rect.left) << s.column << s.row;
    EXPECT_EQ(r.top, s.rect.top) << s.column << s.row;
    EXPECT_EQ(r.right, s.rect.right) << s.column << s.row;
    EXPECT_EQ(r.bottom, s.rect.bottom) << s.column << s.row;
  }
  // Every square's corners land on its cell's corners, in any field.
  for (int column = 0; column < 10; ++column) {
    for (int row = 0; row < 10; ++row) {
      PixelRect r = square_pixels(column, row);
      PixelPoint north_west = project({-100.0 + 2 * column, 31.0 + row}, field_west('E'), field_south('M'));
      PixelPoint south_east = project({-98.0 + 2 * column, 30.0 + row}, field_west('E'), field_south('M'));
      EXPECT_EQ(north_west.x, r.left);
      EXPECT_EQ(north_west.y, r.top);
      EXPECT_EQ(south_east.x, r.right);
      EXPECT_EQ(south_east.y, r.bottom);
    }
  }
}

TEST(FieldPicture, LandOfOneSquareFillsExactlyItsCell) {
  Geography geography;
  // FN42, and a lake in its middle.
  geography.land.push_back(path_of({{-72, 42}, {-70, 42}, {-70, 43}, {-72, 43}, {-72, 42}}));
  geography.lakes.push_back(path_of({{-71.5, 42.25}, {-70.5, 42.25}, {-70.5, 42.75}, {-71.5, 42.75}}));
  IndexedPicture picture = draw_field(geography, 'F', 'N', false);
  ASSERT_EQ(picture.width, 242);
  ASSERT_EQ(picture.height, 222);
  ASSERT_LE(picture.palette.size(), 256u);

  // The cell's pixels 97..120 x 155..176; the coast runs along its edges.
  EXPECT_EQ(picture.at(99, 157), kLandColor);
  EXPECT_EQ(picture.at(118, 174), kLandColor);
  EXPECT_EQ(picture.at(109, 166), kSeaColor) << "the lake";
  EXPECT_EQ(look_of(picture.at(103, 171)), Look::kInk) << "the lake's shore";
  for (int y : {155, 170, 176}) {
    EXPECT_EQ(look_of(picture.at(97, y)), Look::kInk) << y;
    EXPECT_EQ(look_of(picture.at(120, y)), Look::kInk) << y;
    EXPECT_EQ(picture.at(95, y), kSeaColor) << y;
    EXPECT_EQ(picture.at(122, y), kSeaColor) << y;
  }
  for (int x : {97, 110, 120}) {
    EXPECT_EQ(look_of(picture.at(x, 155)), Look::kInk) << x;
    EXPECT_EQ(look_of(picture.at(x, 176)), Look::kInk) << x;
    EXPECT_EQ(picture.at(x, 153), kSeaColor) << x;
    EXPECT_EQ(picture.at(x, 178), kSeaColor) << x;
  }
  // The same land seen from the neighbouring field does not show there.
  IndexedPicture east = draw_field(geography, 'G', 'N', false);
  EXPECT_EQ(east.at(5, 166), kSeaColor);
}

TEST(FieldPicture, SeamsOfTheMapAreNoCoast) {
  Geography geography;
  // Land against the date line and the south pole, as Antarctica is cut.
  geography.land.push_back(path_of({{-180, -90}, {-170, -90}, {-170, -85}, {-180, -85}, {-180, -90}}));
  IndexedPicture picture = draw_field(geography, 'A', 'A', false);
  EXPECT_EQ(picture.at(1, 150), kLandColor) << "along the date line";
  EXPECT_EQ(picture.at(60, 220), kLandColor) << "along the pole";
  EXPECT_EQ(look_of(picture.at(120, 150)), Look::kInk) << "a real coast at 170 W";
  EXPECT_EQ(look_of(picture.at(60, 111)), Look::kInk) << "a real coast at 85 S";
}

TEST(FieldPicture, LettersAreFaintAndThePlainPictureIsSea) {
  Geography geography;
  geography.land.push_back(path_of({{0, 0}, {1, 0}, {1, 1}}));
  IndexedPicture picture = draw_field(geography, 'F', 'N');
  // The stem of the F runs down the left of the picture.
  const Rgb letter = picture.at(29, 150);
  EXPECT_NE(letter, kSeaColor);
  EXPECT_GE(letter[0], 225);
  EXPECT_EQ(picture.at(29, 200), kSeaColor) << "below the letters";
  EXPECT_EQ(draw_field(geography, 'F', 'N', false).at(29, 150), kSeaColor);

  IndexedPicture plain = draw_plain_field();
  ASSERT_EQ(plain.palette.size(), 1u);
  EXPECT_EQ(plain.palette[0], kSeaColor);
  EXPECT_EQ(plain.width * plain.height, static_cast<int>(plain.pixels.size()));
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
  static Look look_near(const GeoPoint& point, const char field[3], int reach) {
    IndexedPicture picture = draw_field(geography_, field[0], field[1], false);
    PixelPoint p = project(point, field_west(field[0]), field_south(field[1]));
    const int x0 = static_cast<int>(p.x), y0 = static_cast<int>(p.y);
    Look seen = look_of(picture.at(x0, y0));
    for (int y = std::max(0, y0 - reach); y <= std::min(picture.height - 1, y0 + reach); ++y)
      for (int x = std::max(0, x0 - reach); x <= std::min(picture.width - 1, x0 + reach); ++x)
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
      {"Sargasso Sea", {-62, 33}, "FM", Look::kSea},
      {"Lake Michigan", {-87.0, 43.5}, "EN", Look::kSea},
      {"Sahara", {15, 26}, "JL", Look::kLand},
      {"Pacific", {-150, 5}, "BJ", Look::kSea},
      {"Tasmania", {146.5, -42}, "QE", Look::kLand},
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
      {"Strait of Gibraltar", {-5.61, 36.01}, "IM", 7, 6},
      {"Cape of Good Hope", {18.47, -34.36}, "JF", 9, 5},
      {"US-Canada border, the line between DN58 and DN59", {-110, 49}, "DN", 5, 8},
      {"Kansas-Colorado line", {-102.05, 38.5}, "DM", 8, 8},
      {"Ohio-Indiana line", {-84.82, 40.3}, "EN", 7, 0},
  };
  for (const Case& c : cases) {
    PixelPoint p = project(c.point, field_west(c.field[0]), field_south(c.field[1]));
    PixelRect square = square_pixels(c.column, c.row);
    EXPECT_TRUE(p.x >= square.left && p.x < square.right && p.y >= square.top && p.y < square.bottom) << c.id;
    EXPECT_EQ(look_near(c.point, c.field, 1), Look::kInk) << c.id;
  }
}

TEST_F(RealGeography, NothingIsAsDarkAsThePagesGrayDigits) {
  for (const char* field : {"FN", "EM", "JO", "PM", "AA"})
    for (const Rgb& c : draw_field(geography_, field[0], field[1]).palette)
      for (std::uint8_t channel : c) EXPECT_GT(channel, 140) << field;
}

}  // namespace
}  // namespace zelk

// The field pictures, the GIF writer, and the pictures a build leaves in
// images/: one for every field a page can name.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <span>

#include "../test_helpers.h"
#include "field_art/field_picture.h"
#include "field_art/gif_file.h"

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

// Every square's corners land on its cell's corners.
TEST(FieldPicture, ProjectionPutsEachSquareBehindItsCell) {
  for (int column = 0; column < 10; ++column)
    for (int row = 0; row < 10; ++row) {
      PixelRect r = square_pixels(column, row);
      PixelPoint nw = project({-100.0 + 2 * column, 31.0 + row}, field_west('E'), field_south('M'));
      PixelPoint se = project({-98.0 + 2 * column, 30.0 + row}, field_west('E'), field_south('M'));
      EXPECT_TRUE(nw.x == r.left && nw.y == r.top && se.x == r.right && se.y == r.bottom) << "EM" << column << row;
    }
}

// FN42 (pixels 97..120 x 155..176) with a lake in its middle; then land
// against the date line and the pole, as Antarctica is cut: no coast there.
TEST(FieldPicture, LandFillsItsCellsAndTheSeamsAreNoCoast) {
  Geography fn42, antarctica;
  fn42.land.push_back(path_of({{-72, 42}, {-70, 42}, {-70, 43}, {-72, 43}, {-72, 42}}));
  fn42.lakes.push_back(path_of({{-71.5, 42.25}, {-70.5, 42.25}, {-70.5, 42.75}, {-71.5, 42.75}}));
  antarctica.land.push_back(path_of({{-180, -90}, {-170, -90}, {-170, -85}, {-180, -85}, {-180, -90}}));
  antarctica.borders.push_back(path_of({{-159.9, -88}, {-159.9, -82}}));  // just past AA's east edge
  const IndexedPicture fn = draw_field(fn42, 'F', 'N', false), aa = draw_field(antarctica, 'A', 'A', false);
  struct Case {
    const IndexedPicture& picture;
    int x, y;
    Look look;
  } cases[] = {{fn, 99, 157, Look::kLand}, {fn, 118, 174, Look::kLand}, {fn, 109, 166, Look::kSea},
               {fn, 103, 171, Look::kInk}, {fn, 95, 165, Look::kSea},   {fn, 122, 176, Look::kSea},
               {fn, 100, 153, Look::kSea}, {fn, 118, 178, Look::kSea},  {aa, 0, 60, Look::kSea},
               {aa, 1, 150, Look::kLand},  {aa, 60, 220, Look::kLand},  {aa, 120, 150, Look::kInk},
               {aa, 60, 111, Look::kInk}};
  for (const Case& c : cases) EXPECT_EQ(look_of(c.picture.at(c.x, c.y)), c.look) << c.x << "," << c.y;
  // The coast on the cell's edges, half over the land and half over the sea.
  for (int a : {0, 10, 21})
    for (auto [x, y, dx, dy] :
         {std::array{97, 155 + a, -1, 0}, {120, 155 + a, 1, 0}, {97 + a, 155, 0, -1}, {97 + a, 176, 0, 1}}) {
      EXPECT_EQ(look_of(fn.at(x, y)), Look::kInk) << x << "," << y;
      EXPECT_NE(fn.at(x, y), fn.at(x + dx, y + dy)) << x << "," << y;
    }
  EXPECT_EQ(draw_field(fn42, 'G', 'N', false).at(5, 166), kSeaColor) << "not in the next field";
}

TEST(FieldPicture, LettersAreFaint) {
  const IndexedPicture picture = draw_field(Geography(), 'F', 'N');  // the F's stem at x 29
  EXPECT_TRUE(picture.at(29, 150) != kSeaColor && picture.at(29, 150)[0] >= 225);
  EXPECT_EQ(picture.at(29, 200), kSeaColor) << "below the letters";
}

const Geography& real_geography() {
  static const Geography geography = [] {
    std::ifstream in(ZELK_GEOGRAPHY_FILE);
    Geography read;
    std::string error;
    EXPECT_TRUE(read_geography(in, read, error)) << error;
    return read;
  }();
  return geography;
}

// The look at the point, or kInk when a line passes within `reach` pixels.
Look look_near(const GeoPoint& point, const char* field, int reach) {
  IndexedPicture picture = draw_field(real_geography(), field[0], field[1], false);
  PixelPoint p = project(point, field_west(field[0]), field_south(field[1]));
  Look seen = look_of(picture.at(int(p.x), int(p.y)));
  for (int y = int(p.y) - reach; y <= int(p.y) + reach; ++y)
    for (int x = int(p.x) - reach; x <= int(p.x) + reach; ++x)
      if (look_of(picture.at(x, y)) == Look::kInk) seen = Look::kInk;
  return seen;
}

TEST(RealGeography, KnownPlacesLookRight) {
  struct Case {
    const char* id;
    GeoPoint point;
    const char* field;
    Look look;
  } cases[] = {
      {"Kansas", {-98.5, 38.5}, "EM", Look::kLand},
      // Lakes across a border; lines within a pixel.
      {"Lake Michigan", {-87.0, 43.5}, "EN", Look::kSea},
      {"Lake Ontario, Canadian half", {-78.5, 43.75}, "FN", Look::kSea},
      {"Manitoulin Island", {-82.2, 45.75}, "EN", Look::kLand},
      {"Toronto", {-79.45, 43.72}, "FN", Look::kLand},
      {"Cape Cod, Chatham", {-69.94, 41.67}, "FN", Look::kInk},
      {"US-Canada border between DN58 and DN59", {-110, 49}, "DN", Look::kInk},
      {"Kansas-Colorado line", {-102.05, 38.5}, "DM", Look::kInk},
      {"US-Canada border through Lake Ontario", {-78.5, 43.64}, "FN", Look::kInk},
  };
  for (const Case& c : cases) EXPECT_EQ(look_near(c.point, c.field, c.look == Look::kInk), c.look) << c.id;
}

// Only Antarctica's ring runs along the pole from end to end.
TEST(RealGeography, NoLineJumpsOverTheDateLine) {
  const Geography& g = real_geography();
  for (const auto* list : {&g.land, &g.lakes, &g.borders, &g.state_borders})
    for (const GeoPath& path : *list)
      for (std::size_t i = 1; i < path.points.size(); ++i)
        ASSERT_TRUE(std::abs(path.points[i].lon - path.points[i - 1].lon) <= 180.0 ||
                    (path.points[i].lat == -90.0 && path.points[i - 1].lat == -90.0));
}

TEST(RealGeography, NothingIsAsDarkAsThePagesGrayDigits) {
  for (const char* field : {"FN", "EM", "JO", "PM", "AA"})
    for (const Rgb& c : draw_field(real_geography(), field[0], field[1]).palette)
      EXPECT_GT(*std::min_element(c.begin(), c.end()), 140) << field;
}

// The first image and the global palette; width 0 when unreadable.
IndexedPicture read_gif(const std::string& path) {
  IndexedPicture picture;
  int code = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
  if (gif != nullptr && DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1 && gif->SColorMap != nullptr) {
    picture.width = gif->SWidth;
    picture.height = gif->SHeight;
    for (const GifColorType& c : std::span(gif->SColorMap->Colors, gif->SColorMap->ColorCount))
      picture.palette.push_back({c.Red, c.Green, c.Blue});
    const SavedImage& image = gif->SavedImages[0];
    picture.pixels.assign(image.RasterBits, image.RasterBits + image.ImageDesc.Width * image.ImageDesc.Height);
  }
  if (gif != nullptr) DGifCloseFile(gif, &code);
  return picture;
}

TEST(WriteGif, ReadsBackPixelForPixel) {
  test::ScratchFolder folder;
  IndexedPicture picture{3, 2, {kSeaColor, kLandColor, kCoastColor}, {0, 1, 2, 2, 1, 0}};
  std::string error;
  ASSERT_TRUE(write_gif(picture, folder / "x.gif", error)) << error;
  IndexedPicture back = read_gif(folder / "x.gif");
  EXPECT_TRUE(back.width == 3 && back.height == 2 && back.pixels == picture.pixels);
  EXPECT_EQ(back.palette, std::vector<Rgb>({kSeaColor, kLandColor, kCoastColor, Rgb{0, 0, 0}}));  // powers of two
  EXPECT_FALSE(write_gif(picture, folder / "missing/FN.gif", error));
  EXPECT_NE(error.find("missing/FN.gif: "), std::string::npos) << error;
}

TEST(FieldImagesOfTheBuild, EveryFieldAPageCanNameHasItsPicture) {
  const std::filesystem::path folder = ZELK_IMAGES_FOLDER;
  std::set<std::string> present, expected;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".gif") present.insert(entry.path().filename().string());
  // Maps start at AA..RR and reach 5 fields east and 3 north of that.
  for (char lon = 'A'; lon <= 'W'; ++lon)
    for (char lat = 'A'; lat <= 'U'; ++lat) expected.insert(std::string{lon, lat} + ".gif");
  EXPECT_EQ(present, expected);
  for (const std::string& name : expected) {
    const IndexedPicture picture = read_gif((folder / name).string());
    ASSERT_TRUE(picture.width == kFieldImageWidth && picture.height == kFieldImageHeight) << name;
    std::set<Rgb> used;
    for (std::uint8_t index : picture.pixels) used.insert(picture.palette[index]);
    if (name[0] <= 'R' && name[1] <= 'R') EXPECT_GT(used.size(), 2u) << name;
    else EXPECT_EQ(used, std::set<Rgb>{kSeaColor}) << name;
  }
}

}  // namespace
}  // namespace zelk

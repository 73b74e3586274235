// The field pictures, and the pictures a build leaves in images/: one for
// every field a page can name.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "field_art/field_picture.h"

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

// FN42 (pixels 97..120 x 155..176) with a lake in its middle.
TEST(FieldPicture, LandFillsItsCellsAroundTheLake) {
  Geography fn42;
  fn42.land.push_back(path_of({{-72, 42}, {-70, 42}, {-70, 43}, {-72, 43}, {-72, 42}}));
  fn42.lakes.push_back(path_of({{-71.5, 42.25}, {-70.5, 42.25}, {-70.5, 42.75}, {-71.5, 42.75}}));
  const IndexedPicture fn = draw_field(fn42, 'F', 'N', false);
  struct Case {
    int x, y;
    Look look;
  } cases[] = {{99, 157, Look::kLand}, {118, 174, Look::kLand}, {109, 166, Look::kSea}, {103, 171, Look::kInk},
               {97, 165, Look::kInk},  {95, 165, Look::kSea},   {122, 176, Look::kSea}, {100, 153, Look::kSea}};
  for (const Case& c : cases) EXPECT_EQ(look_of(fn.at(c.x, c.y)), c.look) << c.x << "," << c.y;
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
    int code = 0;
    GifFileType* gif = DGifOpenFileName((folder / name).c_str(), &code);
    ASSERT_NE(gif, nullptr) << name;
    EXPECT_TRUE(gif->SWidth == kFieldImageWidth && gif->SHeight == kFieldImageHeight) << name;
    // Other users run the programs beside them too.
    EXPECT_EQ(std::filesystem::status(folder / name).permissions(), std::filesystem::perms(0644)) << name;
    DGifCloseFile(gif, &code);
  }
}

}  // namespace
}  // namespace zelk

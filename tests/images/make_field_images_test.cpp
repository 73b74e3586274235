// The pictures a build leaves in images/ beside the programs: one for every
// field a page can name, the real fields drawn, the rest plain.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "gif_test_support.h"
#include "images/field_picture.h"

namespace zelk {
namespace {

TEST(FieldImagesOfTheBuild, EveryFieldAPageCanNameHasItsPicture) {
  namespace fs = std::filesystem;
  const fs::path folder = ZELK_IMAGES_FOLDER;
  std::set<std::string> present;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".gif") present.insert(entry.path().filename().string());
  // Maps start at AA..RR and reach 5 fields further east and 3 further north.
  std::set<std::string> expected;
  for (char lon = 'A'; lon <= 'W'; ++lon)
    for (char lat = 'A'; lat <= 'U'; ++lat) expected.insert(std::string{lon, lat} + ".gif");
  EXPECT_EQ(present, expected);

  const IndexedPicture plain = draw_plain_field();
  for (const std::string& name : expected) {
    const IndexedPicture picture = read_gif((folder / name).string());
    ASSERT_EQ(picture.width, kFieldImageWidth) << name;
    ASSERT_EQ(picture.height, kFieldImageHeight) << name;
    const bool real = name[0] <= 'R' && name[1] <= 'R';
    std::set<std::uint8_t> used(picture.pixels.begin(), picture.pixels.end());
    if (real) EXPECT_GT(used.size(), 2u) << name << " shows at least sea or land, and its letters";
    else EXPECT_EQ(used.size(), 1u) << name;
  }
}

TEST(FieldImagesOfTheBuild, FieldsShowTheirOwnPlaces) {
  const std::string folder = ZELK_IMAGES_FOLDER;
  // Square FN42's first pixels lie in Massachusetts; FM's eastern squares are ocean.
  const IndexedPicture fn = read_gif(folder + "/FN.gif");
  const IndexedPicture fm = read_gif(folder + "/FM.gif");
  ASSERT_GT(fn.width, 0);
  ASSERT_GT(fm.width, 0);
  const PixelRect fn42 = square_pixels(4, 2);
  EXPECT_EQ(fn.at(fn42.left + 2, fn42.top + 2), kLandColor);
  const PixelRect fm95 = square_pixels(9, 5);
  EXPECT_EQ(fm.at(fm95.left + 12, fm95.top + 2), kSeaColor);
}

}  // namespace
}  // namespace zelk

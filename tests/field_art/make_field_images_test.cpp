// The pictures a build leaves in images/ beside the programs: one for every
// field a page can name, the real fields drawn, the rest plain.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "gif_test_support.h"
#include "field_art/field_picture.h"

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

  for (const std::string& name : expected) {
    const IndexedPicture picture = read_gif((folder / name).string());
    ASSERT_EQ(picture.width, kFieldImageWidth) << name;
    ASSERT_EQ(picture.height, kFieldImageHeight) << name;
    // Real fields show sea or land and their letters; the rest are plain sea.
    std::set<Rgb> used;
    for (std::uint8_t index : picture.pixels) used.insert(picture.palette[index]);
    if (name[0] <= 'R' && name[1] <= 'R') EXPECT_GT(used.size(), 2u) << name;
    else EXPECT_EQ(used, std::set<Rgb>{kSeaColor}) << name;
  }
}

}  // namespace
}  // namespace zelk

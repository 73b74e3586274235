// The GIF writer: what giflib reads back is what was drawn.
#include "field_art/gif_file.h"

#include <gtest/gtest.h>

#include "../scratch_folder.h"
#include "gif_test_support.h"

namespace zelk {
namespace {

TEST(WriteGif, ReadsBackPixelForPixel) {
  test::ScratchFolder folder;
  IndexedPicture picture{3, 2, {kSeaColor, kLandColor, kCoastColor}, {0, 1, 2, 2, 1, 0}};
  std::string error;
  ASSERT_TRUE(write_gif(picture, folder / "x.gif", error)) << error;
  IndexedPicture back = read_gif(folder / "x.gif");
  EXPECT_EQ(back.width, 3);
  EXPECT_EQ(back.height, 2);
  // Palettes come in powers of two.
  EXPECT_EQ(back.palette, std::vector<Rgb>({kSeaColor, kLandColor, kCoastColor, Rgb{0, 0, 0}}));
  EXPECT_EQ(back.pixels, picture.pixels);

  EXPECT_FALSE(write_gif(picture, folder / "missing/FN.gif", error));
  EXPECT_NE(error.find("missing/FN.gif: "), std::string::npos) << error;
}

}  // namespace
}  // namespace zelk

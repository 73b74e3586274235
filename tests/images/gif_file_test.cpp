// The GIF writer: what giflib reads back is what was drawn.
#include "images/gif_file.h"

#include <gtest/gtest.h>

#include "../scratch_folder.h"
#include "gif_test_support.h"

namespace zelk {
namespace {

TEST(WriteGif, ReadsBackPixelForPixel) {
  test::ScratchFolder folder;
  IndexedPicture picture;
  picture.width = 3;
  picture.height = 2;
  picture.palette = {kSeaColor, kLandColor, kCoastColor};
  picture.pixels = {0, 1, 2, 2, 1, 0};
  std::string error;
  ASSERT_TRUE(write_gif(picture, folder / "x.gif", error)) << error;

  IndexedPicture back = read_gif(folder / "x.gif");
  ASSERT_EQ(back.width, 3);
  ASSERT_EQ(back.height, 2);
  ASSERT_EQ(back.palette.size(), 4u) << "palettes come in powers of two";
  EXPECT_EQ(back.palette[0], kSeaColor);
  EXPECT_EQ(back.palette[1], kLandColor);
  EXPECT_EQ(back.palette[2], kCoastColor);
  EXPECT_EQ(back.pixels, picture.pixels);
}

TEST(WriteGif, OneColourStillMakesAValidFile) {
  test::ScratchFolder folder;
  IndexedPicture plain = draw_plain_field();
  std::string error;
  ASSERT_TRUE(write_gif(plain, folder / "plain.gif", error)) << error;
  IndexedPicture back = read_gif(folder / "plain.gif");
  EXPECT_EQ(back.width, kFieldImageWidth);
  EXPECT_EQ(back.palette.size(), 2u);
  EXPECT_EQ(back.pixels, plain.pixels);
}

TEST(WriteGif, AFolderThatIsNotThereIsReported) {
  test::ScratchFolder folder;
  std::string error;
  EXPECT_FALSE(write_gif(draw_plain_field(), folder / "missing/FN.gif", error));
  EXPECT_NE(error.find("missing/FN.gif: "), std::string::npos) << error;
}

}  // namespace
}  // namespace zelk

// Reads a GIF back through giflib, for the tests of what the drawer writes.
#pragma once

#include <gif_lib.h>

#include <string>

#include "field_art/field_picture.h"

namespace zelk {

// The first image of the file with its global palette; width 0 when unreadable.
inline IndexedPicture read_gif(const std::string& path) {
  IndexedPicture picture;
  int code = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
  if (gif == nullptr) return picture;
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1 && gif->SColorMap != nullptr) {
    picture.width = gif->SWidth;
    picture.height = gif->SHeight;
    for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
      const GifColorType& c = gif->SColorMap->Colors[i];
      picture.palette.push_back({c.Red, c.Green, c.Blue});
    }
    const SavedImage& image = gif->SavedImages[0];
    picture.pixels.assign(image.RasterBits,
                          image.RasterBits + static_cast<std::size_t>(image.ImageDesc.Width) * image.ImageDesc.Height);
  }
  DGifCloseFile(gif, &code);
  return picture;
}

}  // namespace zelk

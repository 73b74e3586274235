#include "field_art/gif_file.h"

#include <gif_lib.h>

#include <filesystem>
#include <memory>
#include <vector>

namespace zelk {

namespace {

struct MapDeleter {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};

}  // namespace

bool write_gif(const IndexedPicture& picture, const std::string& path, std::string& error) {
  // GIF palettes come in powers of two; the unused entries stay black.
  int entries = 2;
  while (entries < static_cast<int>(picture.palette.size())) entries *= 2;
  std::unique_ptr<ColorMapObject, MapDeleter> map(GifMakeMapObject(entries, nullptr));
  if (!map) {
    error = "out of memory";
    return false;
  }
  for (std::size_t i = 0; i < picture.palette.size(); ++i)
    map->Colors[i] = GifColorType{picture.palette[i][0], picture.palette[i][1], picture.palette[i][2]};

  int code = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &code);
  if (gif == nullptr) {
    error = path + ": " + GifErrorString(code);
    return false;
  }
  bool ok = EGifPutScreenDesc(gif, picture.width, picture.height, 8, 0, map.get()) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, false, nullptr) == GIF_OK;
  std::vector<GifPixelType> row(static_cast<std::size_t>(picture.width));
  for (int y = 0; ok && y < picture.height; ++y) {
    const std::uint8_t* source = picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
    row.assign(source, source + picture.width);
    ok = EGifPutLine(gif, row.data(), picture.width) == GIF_OK;
  }
  if (!ok) code = gif->Error;
  int close_code = 0;
  if (EGifCloseFile(gif, &close_code) != GIF_OK && ok) {
    ok = false;
    code = close_code;
  }
  if (!ok) error = path + ": " + GifErrorString(code);
  // giflib creates its files private (0600); the pictures are data for every
  // user of the programs beside them, as an installed copy's are.
  namespace fs = std::filesystem;
  std::error_code ec;
  constexpr fs::perms kReadable = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                  fs::perms::others_read;
  if (ok) fs::permissions(path, kReadable, ec);
  if (ec) error = path + ": " + ec.message();
  return ok && !ec;
}

}  // namespace zelk

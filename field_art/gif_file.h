// Writes an indexed picture as a GIF file through giflib.
#pragma once

#include <string>

#include "field_art/field_picture.h"

namespace zelk {

// False with `error` set when the file cannot be written.
bool write_gif(const IndexedPicture& picture, const std::string& path, std::string& error);

}  // namespace zelk

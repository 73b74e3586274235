// Files compiled into the program (the program icon's images), so that it
// needs nothing beside itself to show its icon.
#pragma once

#include <cstddef>
#include <cstring>

namespace zelk {

struct EmbeddedFile {
  const char* name;  // "zelk2html-48.png"
  const unsigned char* bytes;
  std::size_t size;
};

// Null when no file of that name was embedded.
const EmbeddedFile* embedded_file(const char* name);

}  // namespace zelk

#include "tests/fuzz/fuzz_check.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace zelk::fuzz {

namespace {

struct Scratch {
  std::string path;
  Scratch() {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zelk-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    path = folder.string();
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

}  // namespace

const std::string& scratch_folder() {
  static Scratch scratch;
  return scratch.path;
}

}  // namespace zelk::fuzz

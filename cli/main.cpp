#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/cli.h"
#include "conversion/file_paths.h"
#include "conversion/program_folders.h"

namespace {

// The field images ship in images/ among the program's data. Where the
// system does not name the running program, argv[0] holds its path.
std::string program_images_folder(const char* argv0) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path program = zelk::running_program_path();
  if (program.empty() && argv0 != nullptr) program = fs::absolute(argv0, ec);
  if (ec || program.empty()) return std::string();
  // The command line writes where it is told; only the data folder matters.
  return zelk::program_folders(program.string(), zelk::UserFolders{}).data + "images";
}

}  // namespace

int main(int argc, char** argv) {
  zelk::stop_cleanly_when_interrupted();
  zelk::CliEnvironment environment;
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) environment.source_date_epoch = epoch;
  environment.now = std::time(nullptr);
  environment.field_images_folder = program_images_folder(argc > 0 ? argv[0] : nullptr);
  return zelk::cli_main(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr, environment);
}

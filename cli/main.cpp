#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/cli.h"
#include "platform/file_paths.h"
#include "platform/program_folders.h"

#ifdef _WIN32
#include "cli/windows_console.h"
#endif

namespace {

// The field images ship in images/ among the program's data. Where the
// system does not name the running program, argv[0] holds its path.
std::string program_images_folder(const char* argv0) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path program = zelk::path_of(zelk::running_program_path());
  if (program.empty() && argv0 != nullptr) program = fs::absolute(zelk::path_of(argv0), ec);
  if (ec || program.empty()) return std::string();
  // The command line writes where it is told; only the data folder matters.
  return zelk::program_folders(zelk::name_of(program), zelk::UserFolders{}).data + "images";
}

}  // namespace

int main(int argc, char** argv) {
  zelk::stop_cleanly_when_interrupted();
  zelk::CliEnvironment environment;
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) environment.source_date_epoch = epoch;
  environment.now = std::time(nullptr);
  environment.field_images_folder = program_images_folder(argc > 0 ? argv[0] : nullptr);
  std::ostream* out = &std::cout;
  std::ostream* err = &std::cerr;
#ifdef _WIN32
  HANDLE out_console = zelk::ConsoleLines::console_of(STD_OUTPUT_HANDLE);
  HANDLE err_console = zelk::ConsoleLines::console_of(STD_ERROR_HANDLE);
  zelk::ConsoleLines out_lines(out_console), err_lines(err_console);
  std::ostream out_stream(&out_lines), err_stream(&err_lines);
  if (out_console != nullptr) out = &out_stream;
  if (err_console != nullptr) err = &err_stream;
#endif
  return zelk::cli_main(std::vector<std::string>(argv + 1, argv + argc), *out, *err, environment);
}

// zelk2html-cli: Generate from the command line, for scripts and tests.
//
//   zelk2html-cli LISTING [-o PAGE] [--band B] [--field XY]
//                 [--format portrait|landscape|11x17] [--color|--no-color] ...
//                 [--settings FILE] [--save-settings FILE]
//   zelk2html-cli LISTING --band all [-o FOLDER] [the same options]
//     (and <listing>-bands.html, the contents page with every band's totals)
//
// Exit 0: the summary on stdout. Exit 1: the error on stderr, and no file of
// the run written or changed. Exit 2: a usage error.
#pragma once

#include <ctime>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zelk {

struct CliEnvironment {
  std::optional<std::string> source_date_epoch;  // SOURCE_DATE_EPOCH, if set
  std::time_t now = 0;
  std::string field_images_folder;  // the program's images/, copied beside the page when missing there
};

// Ctrl-C or SIGTERM then removes the run's temporary files before it ends.
void stop_cleanly_when_interrupted();

int cli_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const CliEnvironment& environment);

}  // namespace zelk

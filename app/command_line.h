// The dialog program's command line: a listing to start with, as a file
// manager's "Open with" passes it, and --help and --version, which print
// and end before any window (or display) is needed.
//
//   zelk2html [LISTING]
//   zelk2html --help | --version
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelk {

struct DialogCommandLine {
  std::optional<std::string> listing;  // a full path, as Input gives one
  // Set when the program ends at once: `text` goes to standard output for
  // status 0 and to standard error otherwise.
  std::optional<int> exit_status;
  std::string text;
};

// The arguments after the program's name, once the toolkit took its own.
DialogCommandLine read_command_line(const std::vector<std::string>& args);

}  // namespace zelk

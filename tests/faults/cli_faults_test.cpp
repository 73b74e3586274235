// The command line under faults keeps its contract: exit 1 with the error on
// stderr and nothing on stdout, and no page written or changed; a settings
// file that cannot be saved after a good run is reported without undoing it.
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "tests/faults/fault_support.h"

namespace zelk::faults {
namespace {

namespace fs = std::filesystem;

struct CliCase {
  const char* id;
  std::vector<std::string> args;
  const char* expected;
};

const CliCase kCases[] = {
    {"listing is a folder", {"folder", "-o", "page.html", "--band", "2M", "--field", "FN"},
     "exit 1 | out:  | err: ERROR: Could not open input file folder\\n"},
    {"settings file is a folder", {"listing.csv", "--settings", "folder", "-o", "page.html"},
     "exit 1 | out:  | err: ERROR: Could not open settings file folder\\n"},
    {"settings file cut short", {"listing.csv", "--settings", "short.ini", "-o", "page.html", "--band", "2M",
                                 "--field", "FN"},
     "exit 0 | out: Wrote    1 grids to page.html\\n\\nPrint on 8.5x11 sheet in Landscape mode to a color printer."
     "\\n\\n | err: Version number changed, resetting to default.\\n"},
    {"page folder missing", {"listing.csv", "-o", "nowhere/page.html", "--band", "2M", "--field", "FN"},
     "exit 1 | out:  | err: ERROR: Could not create output file nowhere/page.html\\n"},
    {"settings saved into a folder", {"listing.csv", "-o", "page.html", "--band", "2M", "--field", "FN",
                                      "--save-settings", "folder"},
     "exit 0 | out: Wrote    1 grids to page.html\\n\\nPrint on 8.5x11 sheet in Landscape mode to a color printer."
     "\\n\\n | err: ERROR: Could not save settings file folder\\n"},
};

TEST(CliFaults, ExitStatusAndMessages) {
  for (const CliCase& c : kCases) {
    SCOPED_TRACE(c.id);
    FaultFolder folder;
    fs::create_directory(folder / "folder");
    write_file(folder / "listing.csv", "Grid,2M\nFN42,C\n");
    write_file(folder / "page.html", "previous page");
    write_file(folder / "short.ini", "3.3");
    std::string report = run_in_child(folder.path(), [&] {
      std::ostringstream out, err;
      int status = cli_main(c.args, out, err, CliEnvironment());
      return "exit " + std::to_string(status) + " | out: " + visible(out.str()) + " | err: " + visible(err.str());
    });
    EXPECT_EQ(report, c.expected);
    // The page changes only on success.
    if (std::string(c.expected).rfind("exit 1", 0) == 0) {
      EXPECT_EQ(read_file(folder / "page.html"), "previous page");
    }
    EXPECT_TRUE(fs::is_directory(folder / "folder"));
    EXPECT_EQ(names_in(folder.path()), "folder listing.csv page.html short.ini");
  }
}

}  // namespace
}  // namespace zelk::faults

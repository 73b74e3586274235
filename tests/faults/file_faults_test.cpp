// Every write of a run (the page, the pictures beside it, the settings file;
// every band's files) failing at each step in turn: reported, old files kept
// whole until the renames, nothing half-written or temporary left.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "platform/staged_files.h"
#include "test_helpers.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::write_file;

// Fails the step numbered `failing_step` (from 1) of a run, counting every
// step of every replacement, and records which step and file that was.
long failing_step = 0, steps_taken = 0;
std::optional<std::pair<FileStep, std::string>> failure;

bool fail_the_chosen_step(FileStep step, const std::string& target) {
  if (++steps_taken != failing_step) return true;
  failure = {step, target};
  return false;
}

// The command line with its pictures from `folder`/program, failing the chosen step.
int run_failing(const test::ScratchFolder& folder, const std::vector<std::string>& args, std::ostringstream& out,
                std::ostringstream& err) {
  steps_taken = 0;
  failure.reset();
  file_step_hook = fail_the_chosen_step;
  const int status = cli_main(args, out, err, CliEnvironment{std::nullopt, 0, folder / "program"});
  file_step_hook = nullptr;
  return status;
}

std::string temporaries_left(const test::ScratchFolder& folder) {
  std::string left;
  for (const auto& entry : fs::recursive_directory_iterator(folder.path()))
    if (entry.path().filename().string().find(".tmp") != std::string::npos) left += " | left " + entry.path().string();
  return left;
}

void prepare(const test::ScratchFolder& folder) {
  write_file(folder / "grids.csv", "Grid,2M\nFN42,C\n");
  write_file(folder / "old.ini", "3.3");  // another version's settings: reset, with a warning
  for (const char* name : {"FN", "GN"}) write_file(folder / ("program/" + std::string(name) + ".gif"), name);
  write_file(folder / "web/images/FO.gif", "mine");
  write_file(folder / "site/grids.html", "previous page");
  fs::create_symlink("../site/grids.html", folder / "web/grids.html");
  write_file(folder / "zelk2html.ini", "previous settings");
  fs::permissions(folder / "site/grids.html", fs::perms(0640));
  fs::permissions(folder / "zelk2html.ini", fs::perms(0600));
}

// What the folder holds, in a line.
std::string state(const test::ScratchFolder& folder) {
  auto mode = [](const std::string& path) {
    char octal[8];
    std::snprintf(octal, sizeof octal, " %o", static_cast<unsigned>(fs::status(path).permissions()));
    return std::string(octal);
  };
  const std::string page = read_file(folder / "site/grids.html"), settings = read_file(folder / "zelk2html.ini");
  std::string report = page == "previous page"                                        ? "page previous"
                       : page.starts_with("<html>\n") && page.ends_with("</html>\n") ? "page new"
                                                                                       : "page cut";
  report += mode(folder / "site/grids.html") + (fs::is_symlink(folder / "web/grids.html") ? " linked" : "");
  report += settings == "previous settings" ? " | settings previous"
              : settings.size() == 596       ? " | settings new"
                                             : " | settings cut";
  report += mode(folder / "zelk2html.ini") + " | pictures";
  for (const std::string& name : test::names_in(folder / "web/images")) {
    const bool whole = read_file(folder / ("web/images/" + name)) == (name == "FO.gif" ? "mine" : name.substr(0, 2));
    report += " " + name + (whole ? "" : " (cut)");
  }
  return report + temporaries_left(folder);
}

TEST(FileFaults, EveryStepOfEveryWriteFailsInTurn) {
  for (failing_step = 1; failing_step <= 40; ++failing_step) {  // bounded, should a step fail for good
    SCOPED_TRACE("step " + std::to_string(failing_step));
    test::ScratchFolder folder;
    prepare(folder);
    const std::string page = folder / "web/grids.html", settings = folder / "zelk2html.ini";
    std::ostringstream out, err;
    const int status = run_failing(folder, {folder / "grids.csv", "-o", page, "--band", "2M", "--field", "FN",
                                            "--settings", folder / "old.ini", "--save-settings", settings}, out, err);

    const std::string summary =
        "Wrote    1 grids to " + page + "\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n";
    std::string warning = "Version number changed, resetting to default.\n";
    // Until the renames, a failure of the page or the settings file changes nothing.
    std::string expected = "1 |  | page previous 640 linked | settings previous 600 | pictures";
    std::string pictures = " FO.gif";
    const bool renaming = failure && failure->first == FileStep::kRename;
    const std::string io = ": Input/output error\n";
    if (!failure) {
      EXPECT_EQ(failing_step - 1, 24) << "six steps for each of the page, two pictures and the settings file";
      expected = "0 | " + summary + " | page new 640 linked | settings new 600 | pictures";
      pictures = " FN.gif FO.gif GN.gif";
    } else if (failure->second.ends_with(".gif")) {
      const std::string name = fs::path(failure->second).filename().string();
      expected = "0 | " + summary + " | page new 640 linked | settings new 600 | pictures";
      pictures = name == "FN.gif" ? " FO.gif GN.gif" : " FN.gif FO.gif";
      warning += "WARNING: The field pictures were not put beside the page: could not write " + folder / "web/images/" +
                 name + io;
    } else if (renaming && failure->second.ends_with("grids.html")) {
      warning += "ERROR: Could not replace " + page + io + "Left as they were: " + page + ", " + settings + "\n";
      pictures = " FN.gif FO.gif GN.gif";  // added, never replacing, before the page that names them
    } else if (renaming) {
      warning += "ERROR: Could not replace " + settings + io + "Replaced already: " + page +
                 "\nLeft as they were: " + settings + "\n";
      expected = "1 |  | page new 640 linked | settings previous 600 | pictures";
      pictures = " FN.gif FO.gif GN.gif";
    } else if (failure->second == settings) {
      warning += "ERROR: Could not save settings file " + settings + io;
    } else {
      warning += "ERROR: Could not write output file " + page + io;
    }
    EXPECT_EQ(std::to_string(status) + " | " + out.str() + " | " + state(folder), expected + pictures);
    EXPECT_EQ(err.str(), warning);
    if (!failure) break;
  }
}

// Every band's page and list, the pictures and the contents page: a failure
// at any step before the renames leaves every old file as it was; a rename
// that fails names what it replaced, and those files are the new ones.
TEST(FileFaults, EveryBandRunFailsAsOne) {
  for (failing_step = 1; failing_step <= 200; ++failing_step) {
    SCOPED_TRACE("step " + std::to_string(failing_step));
    test::ScratchFolder folder;
    write_file(folder / "grids.csv", "Grid,6M,2M\nFN42,C,W\nEM00,W,\n");
    write_file(folder / "program/FN.gif", "FN");
    const std::vector<std::string> old = {"grids-50.html", "grids-144-ffma.html", "grids-bands.html"};
    for (const std::string& name : old) write_file(folder / ("maps/" + name), "old");
    std::ostringstream out, err;
    const int status =
        run_failing(folder, {folder / "grids.csv", "--band", "all", "--field", "EM", "--ffma", "-o", folder / "maps"},
                    out, err);
    EXPECT_EQ(temporaries_left(folder), "");
    const std::vector<std::string> names = test::names_in(folder / "maps");
    if (!failure) {
      EXPECT_EQ(status, 0) << err.str();
      EXPECT_EQ(failing_step - 1, 8 * 6) << "pages and lists of three bands, the contents page, a picture";
      EXPECT_EQ(names.size(), 8u);
      for (const std::string& name : old) EXPECT_NE(read_file(folder / ("maps/" + name)), "old") << name;
      break;
    }
    EXPECT_EQ(status, failure->second.ends_with(".gif") ? 0 : 1) << err.str();
    if (failure->second.ends_with(".gif")) continue;
    const std::string message = err.str(), replaced = message.substr(0, message.find("Left as they were:"));
    for (const std::string& name : old) {
      const std::string path = folder / ("maps/" + name);
      const bool said_new = replaced.find("Replaced already:") < replaced.find(path) && replaced.find(path) != replaced.npos;
      EXPECT_EQ(read_file(path) != "old", said_new) << name << "\n" << message;
    }
    if (failure->first != FileStep::kRename) {
      EXPECT_EQ(names, (std::vector<std::string>{"grids-144-ffma.html", "grids-50.html", "grids-bands.html"}));
    }
  }
}

}  // namespace
}  // namespace zelk

// Every place a run writes (the page, the field pictures beside it, the
// settings file) with each step of each file made to fail in turn, through
// the command line: the failure is reported, the files before it are kept
// whole, nothing half-written or temporary is left. The page is a link into
// another folder and kept private, as users keep pages for a web folder.
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "conversion/file_replace.h"
#include "conversion/settings_file.h"
#include "zelk_version.h"
#include "scratch_folder.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::write_file;

void prepare(const test::ScratchFolder& folder) {
  write_file(folder / "grids.csv", "Grid,2M\nFN42,C\n");
  write_file(folder / "old.ini", "3.3");  // another version's settings: reset, with a warning
  fs::create_directories(folder / "program");
  fs::create_directories(folder / "site");
  fs::create_directories(folder / "web/images");
  for (const char* name : {"FN", "GN"}) write_file(folder / ("program/" + std::string(name) + ".gif"), name);
  write_file(folder / "web/images/FO.gif", "mine");
  write_file(folder / "site/grids.html", "previous page");
  ::chmod((folder / "site/grids.html").c_str(), 0640);
  fs::create_symlink("../site/grids.html", folder / "web/grids.html");
  write_file(folder / "zelk2html.ini", "previous settings");
  ::chmod((folder / "zelk2html.ini").c_str(), 0600);
}

std::string mode_of(const std::string& path) {
  struct stat about {};
  ::stat(path.c_str(), &about);
  std::ostringstream octal;
  octal << std::oct << (about.st_mode & 0777);
  return octal.str();
}

// What the folder holds, in a line.
std::string state(const test::ScratchFolder& folder) {
  const std::string page = read_file(folder / "site/grids.html");
  const std::string settings = read_file(folder / "zelk2html.ini");
  std::string report = "page ";
  report += page == "previous page"                                        ? "previous"
            : page.starts_with("<html>\n") && page.ends_with("</html>\n") ? "new"
                                                                            : "cut";
  report += " " + mode_of(folder / "site/grids.html");
  if (fs::is_symlink(folder / "web/grids.html")) report += " linked";
  report += " | settings ";
  report += settings == "previous settings" ? "previous" : settings.size() == 596 ? "new" : "cut";
  report += " " + mode_of(folder / "zelk2html.ini") + " | pictures";
  std::set<std::string> pictures;
  for (const auto& entry : fs::directory_iterator(folder / "web/images")) {
    const std::string name = entry.path().filename().string();
    pictures.insert(read_file(entry.path().string()) == (name == "FO.gif" ? "mine" : name.substr(0, 2))
                        ? name
                        : name + " (cut)");
  }
  for (const std::string& name : pictures) report += " " + name;
  for (const auto& entry : fs::recursive_directory_iterator(folder.path()))
    if (entry.path().filename().string().find(".tmp") != std::string::npos) report += " | left " + entry.path().string();
  return report;
}

TEST(FileFaults, EveryStepOfEveryWriteFailsInTurn) {
  using file_faults::Step;
  std::set<std::string> failed_steps;
  for (long number = 1; number <= 40; ++number) {  // bounded, should a step fail for good
    SCOPED_TRACE("step " + std::to_string(number));
    test::ScratchFolder folder;
    prepare(folder);
    const std::string page = folder / "web/grids.html", settings = folder / "zelk2html.ini";
    CliEnvironment environment;
    environment.field_images_folder = folder / "program";
    std::ostringstream out, err;
    file_faults::fail_step_number(number);
    const int status = cli_main({folder / "grids.csv", "-o", page, "--band", "2M", "--field", "FN", "--settings",
                                 folder / "old.ini", "--save-settings", settings},
                                out, err, environment);
    const std::optional<file_faults::Failure> failure = file_faults::failure();
    file_faults::fail_step_number(0);

    const std::string summary =
        "Wrote    1 grids to " + page + "\n\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\n\n";
    std::string warning = "Version number changed, resetting to default.\n";
    std::string expected = "0 | " + summary + " | page new 640 linked | settings new 600 | pictures";
    std::string pictures = " FN.gif FO.gif GN.gif";
    if (!failure) {
      EXPECT_EQ(number - 1, 20) << "five steps for each of the page, two pictures and the settings file";
    } else if (failure->target.ends_with("grids.html")) {
      warning += failure->step == Step::kCreate ? "ERROR: Could not create output file " + page + "\n"
                                                : "ERROR: Could not write output file " + page + "\n";
      expected = "1 |  | page previous 640 linked | settings previous 600 | pictures";
      pictures = " FO.gif";
    } else if (failure->target == settings) {
      warning += "ERROR: Could not save settings file " + settings + "\n";
      expected = "0 | " + summary + " | page new 640 linked | settings previous 600 | pictures";
    } else {
      const std::string name = fs::path(failure->target).filename().string();
      pictures.erase(pictures.find(" " + name), name.size() + 1);
    }
    EXPECT_EQ(std::to_string(status) + " | " + out.str() + " | " + state(folder), expected + pictures);
    EXPECT_EQ(err.str(), warning);
    if (!failure) break;
    failed_steps.insert(fs::path(failure->target).filename().string() + " " +
                        std::to_string(static_cast<int>(failure->step)));
  }
  EXPECT_EQ(failed_steps.size(), 20u);
}

// A crash or a full disk elsewhere can leave any prefix of a settings file:
// too short for the version it is another version's; longer, it loads what
// it holds, and the program's identity it does not reach is the running one's.
TEST(FileFaults, SettingsFileCutShortAtEveryLength) {
  test::ScratchFolder folder;
  SettingsRecord saved;
  reset_to_defaults(saved);
  std::strcpy(saved.version, ZELK_VERSION_TEXT);
  std::strcpy(saved.program_base_name, "saved");
  std::strcpy(saved.program_directory, "/saved/");
  saved.band_index = 5;
  ASSERT_TRUE(save_settings_file(saved, folder / "full.ini"));
  const std::string full = read_file(folder / "full.ini");
  for (std::size_t length = 0; length <= full.size(); ++length) {
    SCOPED_TRACE("length " + std::to_string(length));
    write_file(folder / "cut.ini", full.substr(0, length));
    SettingsRecord live;
    reset_to_defaults(live);
    std::strcpy(live.version, ZELK_VERSION_TEXT);
    std::strcpy(live.program_base_name, "live");
    std::strcpy(live.program_directory, "/live/");
    const LoadOutcome outcome = load_settings_file(live, folder / "cut.ini");
    ASSERT_EQ(outcome, length < std::strlen(ZELK_VERSION_TEXT) ? LoadOutcome::kVersionChanged : LoadOutcome::kLoaded);
    // A field cut in half loads what it holds; whole or not reached it is plain.
    if (length <= 24 || length >= 40) {
      EXPECT_STREQ(live.program_base_name, length >= 40 ? "saved" : "live");
    }
    if (length <= 296 || length >= 552) {
      EXPECT_STREQ(live.program_directory, length >= 552 ? "/saved/" : "/live/");
    }
    if (length <= 552 || length >= 556) {
      EXPECT_EQ(live.band_index, length >= 556 ? 5 : -1);
    }
  }
}

}  // namespace
}  // namespace zelk

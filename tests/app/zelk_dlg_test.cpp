// The main dialog driven through the scripted host; each test's folder plays the program's directory.
#include "app/zelk_dlg.h"

#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "../test_helpers.h"
#include "app/testing/scripted_host.h"
#include "cli/cli.h"
#include "platform/file_paths.h"
#include "conversion/settings_file.h"
#include "listing/band_table.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::read_file, test::write_file;
using Names = std::vector<std::string>;

// What a start shows: messages|band|field|bold, color, C = checked, needed,
// S = checked, FFMA, portrait, landscape, tabloid.
std::string shown(ScriptedHost& host) {
  std::string boxes;
  for (int id : {kIdBold, kIdColor, kIdCChecked, kIdNeeded, kIdSChecked, kIdFfma, kIdPortrait,
                 kIdLandscape, kIdTabloid})
    boxes += host.checks[id] ? '1' : '0';
  return host.said + "|" + std::to_string(host.combo_selection(kIdBand)) + "|" +
         host.edits[kIdLLField] + "|" + boxes;
}

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() {
    host.program = (dir / "zelk2html").string();
    host.version = VersionRecord{kVersionSignature, 0x00030003, 0x00000001};
    // Two credited squares on the 2 M band from EM ("-" keeps the later cells in their column).
    write_file(listing, "Grid,6M,2M\nEM10,-,W\nEM11,-,C\nFN42,W,-\n");
  }
  // Input, band, field and Generate, as a person would do them.
  void generate(const std::string& chosen, int band = 1) {
    host.chosen_files.push_back(chosen);
    host.click(kIdInput);
    host.pick(kIdBand, band);
    host.edits[kIdLLField] = "EM";
    host.click(kIdGenerate);
  }

  test::ScratchFolder scratch;
  fs::path dir = path_of(scratch / std::string(200, 'd'));  // long: no message fits the record
  std::string ini = (dir / "zelk2html.ini").string(), page = (dir / "grids.html").string();
  std::string listing = (dir / "logs" / "grids.csv").string();
  ScriptedHost host;
  CzelkDlg dialog{host, [] { return std::time_t{1700000000}; }};
};

TEST_F(DialogTest, FirstStartShowsTheDefaults) {
  dialog.do_modal();
  const Names& bands = host.combo_rows[kIdBand];
  EXPECT_EQ(bands.front() + "|" + bands.back() + "|" + std::to_string(bands.size()),
            "6 M (50 MHz)|Any band|13");
  EXPECT_EQ(shown(host), "|-1||111100010");
  EXPECT_EQ(host.enabled, (std::map<int, bool>{{kIdView, false}}));
  EXPECT_EQ(host.tooltips[kIdBand] + "|" + host.tooltips[kIdFfma], "Select VHF Band|Draw FFMA outline around USA");

  ScriptedHost lost;  // no path of its own: start-up goes on
  CzelkDlg(lost).do_modal();
  EXPECT_EQ(shown(lost), "error ZELK to HTML: ERROR: Can't get path to program!\n|-1||111100010");
}

// A damaged settings file is trusted for sound choices only: none of its
// bytes is shown, titles a box or is saved back.
TEST_F(DialogTest, SettingsFileDamaged) {
  SettingsRecord saved = test::record_for(5, "FN");
  std::snprintf(saved.version, sizeof saved.version, "3.3.0.1");
  RecordBytes bytes;
  record_to_bytes(saved, bytes);
  std::minstd_rand random(7);
  std::string damaged(reinterpret_cast<const char*>(bytes), 16);
  while (damaged.size() < kSettingsRecordSize) damaged += static_cast<char>(random());
  write_file(ini, damaged);
  dialog.do_modal();
  EXPECT_EQ(shown(host), "|-1||111100010") << "a print format of no button loads as landscape";
  generate(listing);
  EXPECT_NE(host.said.find("Wrote    2 grids"), std::string::npos);
  SettingsRecord expected = test::record_for(1, "EM");
  std::snprintf(expected.version, sizeof expected.version, "3.3.0.1");
  std::snprintf(expected.program_base_name, sizeof expected.program_base_name, "zelk2html");
  std::snprintf(expected.program_directory, sizeof expected.program_directory, "%s", folder_of(*host.program).c_str());
  record_to_bytes(expected, bytes);
  EXPECT_EQ(read_file(ini).substr(0, 552), std::string(reinterpret_cast<const char*>(bytes), 552));
}

TEST_F(DialogTest, EveryControlWritesTheRecordAtOnceAndNothingSavesIt) {
  dialog.do_modal();
  std::string options;  // bold, color, C = checked, needed, S = checked, FFMA, after each click
  for (int id : {kIdBold, kIdColor, kIdCChecked, kIdNeeded, kIdSChecked, kIdFfma, kIdBold}) {
    host.click(id);
    const SettingsRecord& s = dialog.settings();
    for (auto option : {s.bold_option, s.color_option, s.confirmed_as_checked_option,
                        s.emphasize_needed_option, s.submitted_as_checked_option, s.ffma_option})
      options += std::to_string(option);
    options += " ";
  }
  EXPECT_EQ(options, "011100 001100 000100 000000 000010 000011 100011 ");
  for (auto [id, expected] : {std::pair{kIdPortrait, 34}, {kIdTabloid, 264}, {kIdLandscape, 143}}) {
    host.click(id);
    const SettingsRecord& s = dialog.settings();
    EXPECT_EQ(s.print_format * 100 + s.map_columns * 10 + s.map_rows, expected) << id;
  }
  host.click(kIdDone);
  EXPECT_FALSE(fs::exists(ini)) << "nothing is saved before a Generate succeeds, not even by Done";
}

TEST_F(DialogTest, InputShowsTheNameAndPointsThePageIntoTheProgramFolder) {
  dir = path_of(scratch.path());  // a short program folder: the limits below are the listing's
  host.program = (dir / "zelk2html").string();
  host.users = UserFolders{scratch / "config", scratch / "Documents"};  // never made: the home folder
  dialog.do_modal();
  // Counted as the system counts: 150 Cyrillic letters are 300 bytes, but on
  // Windows 150 of its 259 characters.
  std::string russian = "/logs/";
  for (int i = 0; i < 150; ++i) russian += "ж";
  const std::string limit = std::to_string(kSystemPathLimit) + " " + kSystemPathUnits;
  using Chosen = std::optional<std::string>;  // nothing: cancel
  for (Chosen chosen : {Chosen("/logs/my.grids.csv"), Chosen(), Chosen(russian + ".csv"),
                        Chosen("/" + std::string(kSystemPathLimit, 'x')),
                        Chosen("/l/" + std::string(kSystemPathLimit - 10, 'n') + ".csv")}) {
    host.chosen_files.push_back(chosen);
    host.click(kIdInput);
  }
  EXPECT_EQ(host.lists[kIdInputList], Names{file_name_of(russian) + ".csv"});
  EXPECT_EQ(dialog.input_path() + "|" + dialog.output_path(),
            russian + ".csv|" + name_of(dir / path_of(file_name_of(russian) + ".html")));
  EXPECT_EQ(host.said,
            "error zelk2html: ERROR: The input file's path is longer than " + limit + ".\n"
            "error zelk2html: ERROR: The output file's path would be longer than " + limit + "; "
            "choose a listing with a shorter name or move the program to a shorter path.\n");
  EXPECT_EQ(host.file_requests.at(2).initial_path, "/logs/my.grids.csv") << "a cancel keeps the last choice";
  EXPECT_EQ(host.file_requests.at(0).initial_folder + "|" + host.file_requests.at(2).initial_folder, scratch.path() + "|");
  // A drop is a choice of its first file (one alone goes unremarked); folders and vanished files are passed over.
  const std::string a = scratch / "a.csv", b = scratch / "b.csv";
  write_file(a, ""), write_file(b, ""), host.said.clear();
  host.drop({scratch.path(), b}), host.drop({}), host.drop({scratch.path(), "/gone.csv", a, b});
  EXPECT_EQ(dialog.input_path() + "|" + host.lists[kIdInputList].at(0), a + "|a.csv");
  EXPECT_EQ(host.said, "information zelk2html: 2 files were dropped; one listing is read at a time, so a.csv, "
                       "the first, was taken.\n");
}

// Generate's own checks are its own test's; here that the dialog hands on
// what was (not) chosen, shows the outcome and saves only after a success.
TEST_F(DialogTest, GenerateShowsTheOutcomeAndSavesOnlyAfterASuccess) {
  dialog.do_modal();
  host.click(kIdGenerate);
  EXPECT_EQ(host.said, "error zelk2html: ERROR: Didn't specify input file.\n");
  EXPECT_FALSE(host.enabled[kIdView]);
  host.said.clear();
  generate(listing);
  // Its report is the command line's (whose words its own tests hold), the 'View' sentence added.
  std::ostringstream out, err;
  EXPECT_EQ(cli_main({listing, "-o", page, "--band", "2m", "--field", "em"}, out, err, {"0", 0, (dir / "images").string()}), 0);
  std::string box = err.str() + "\n" + out.str();
  box.insert(box.find("\n\nPrint") + 2, "Click the 'View' button to see the output.\n\n");
  EXPECT_EQ(host.said, "information zelk2html: " + box + "\n");
  EXPECT_TRUE(host.enabled[kIdView]);
  SettingsRecord saved = dialog.settings();
  ASSERT_EQ(load_settings_file(saved, ini), LoadOutcome::kLoaded);
  EXPECT_EQ(std::to_string(saved.band_index) + "|" + saved.lower_left_field + "|" + saved.message, "1|EM|");
  const std::string settings = read_file(ini);
  const std::string broken = (dir / "other" / "grids.csv").string();  // no 2 M column
  write_file(broken, "Grid,6M,50\nEM10,W\n");
  host.click(kIdFfma);
  host.said.clear();
  generate(broken);
  EXPECT_EQ(host.said, "error zelk2html: ERROR: No match found for band 2 M (144 MHz) in " + broken + "\nWARNING: " +
                           broken + ": columns 2 (6M) and 3 (50) both name 6 M; column 2 is read\n");
  EXPECT_TRUE(host.enabled[kIdView]);
  EXPECT_EQ(read_file(ini), settings);
  fs::remove(ini);
  fs::create_directories(ini);  // a folder where the file should go
  host.said.clear();
  generate(listing);
  EXPECT_EQ(host.said.substr(host.said.rfind("\n\n\n") + 3),
            "warning zelk2html: ERROR: Could not save settings file " + ini + ": Is a directory\n");
}

// The last row: every band's page and the contents page, named as --band
// all names them, a line per band and its totals; View shows the contents.
TEST_F(DialogTest, AllBandsWritesEveryPageAndTheContentsPage) {
  dialog.do_modal();
  generate(listing, kEveryBand);
  const std::string at = (dir / "grids-").string();
  // Errors first; a line per band; the folder, the pictures' problem and the advice once.
  EXPECT_EQ(host.said, "information zelk2html: WARNING: The field pictures were not put beside the page: "
                       "found no folder " + at.substr(0, at.size() - 6) + "images\n\n"
                       "Any band: 3 credited, FFMA 3 of 488\n6 M (50 MHz): 1 credited, FFMA 1 of 488\n"
                       "2 M (144 MHz): 2 credited, FFMA 2 of 488\n"
                       "\nThe pages and their contents page grids-bands.html are in " + at.substr(0, at.size() - 6) +
                       ".\n\nClick the 'View' button to see the contents page.\n\n"
                       "Print on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  // The command line's errors and warnings are the same; its summary is a terminal's table.
  std::ostringstream out, err;
  cli_main({listing, "--band", "all", "--field", "em", "-o", dir.string()}, out, err, {"0", 0, (dir / "images").string()});
  EXPECT_EQ(host.said.substr(0, host.said.find("\n\n") + 1), "information zelk2html: " + err.str());
  host.click(kIdView);
  EXPECT_EQ(host.opened, Names{at + "bands.html"});
  CzelkDlg again(host);
  again.do_modal();
  EXPECT_EQ(host.combo_selection(kIdBand), kEveryBand);
  write_file(listing, "Grid,6M\nEM10,\n");
  host.said.clear();
  generate(listing, kEveryBand);
  EXPECT_EQ(host.said, "error zelk2html: ERROR: No band of " + listing + " has worked grids\n");
  // The command line's report: the system's reason, and what a header must be.
  const std::string folder = (dir / "folder.csv").string();
  fs::create_directories(folder);
  host.said.clear();
  generate(folder, kEveryBand);
  write_file(listing, "6M,Grid\n");
  generate(listing, 1);
  EXPECT_EQ(host.said, "error zelk2html: ERROR: Could not open input file " + folder + ": Is a directory\n"
                       "error zelk2html: ERROR: Unrecognized format of input file " + listing + "\nThe first line "
                       "must be the header: it begins with Grid or Prefix, then one label per band (see --help).\nHere the "
                       "first field is '6M'; it must be Grid or Prefix.\n");
}

}  // namespace
}  // namespace zelk

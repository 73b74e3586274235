// The main dialog driven through the scripted host: start-up with and without
// a settings file, the controls writing the record, Input, Generate, View,
// Help and the About box. Each test's folder plays the program's directory.
#include "app/zelk_dlg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../scratch_folder.h"
#include "app/testing/scripted_host.h"
#include "conversion/settings_file.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::write_file;

std::string record_image(const SettingsRecord& record, std::size_t length = kSettingsRecordSize) {
  RecordBytes bytes;
  record_to_bytes(record, bytes);
  return std::string(reinterpret_cast<const char*>(bytes), length);
}

// Every message box so far, as "icon title: text" lines.
std::string said(const ScriptedHost& host) {
  static const char* icons[] = {"error", "warning", "information"};
  std::string all;
  for (const auto& m : host.messages) all += std::string(icons[int(m.icon)]) + " " + m.title + ": " + m.text + "\n";
  return all;
}

using Checks = std::map<int, bool>;

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() {
    host = new_host();
    // Two credited squares on the 2 M band from EM ("-" keeps the later cells in their column).
    write_file(listing, "Grid,6M,2M\nEM10,-,W\nEM11,-,C\nFN42,W,-\n");
  }

  ScriptedHost new_host() const {
    ScriptedHost fresh;
    fresh.program = (dir / "zelk2html").string();
    fresh.version = VersionRecord{kVersionSignature, 0x00030003, 0x00000001};
    return fresh;
  }
  void open() { dialog.do_modal(); }
  std::string program_directory() const { return (dir / "").string(); }  // with the platform's separator

  SettingsRecord saved_record() const {
    SettingsRecord record = test::record_for(-1);
    std::snprintf(record.version, sizeof record.version, "3.3.0.1");
    std::snprintf(record.program_base_name, sizeof record.program_base_name, "zelk2html");
    std::snprintf(record.program_directory, sizeof record.program_directory, "%s", program_directory().c_str());
    return record;
  }

  // Input, band, field and Generate, as a person would do them.
  void generate(const std::string& chosen, int band, const std::string& field) {
    host.chosen_files.push_back(chosen);
    host.click(kIdInput);
    host.pick(kIdBand, band);
    host.type(kIdLLField, field);
    host.click(kIdGenerate);
  }

  test::ScratchFolder scratch;
  fs::path dir = scratch.path();
  std::string ini = (dir / "zelk2html.ini").string(), page = (dir / "grids.html").string();
  std::string listing = (dir / "logs" / "grids.csv").string();
  ScriptedHost host;
  CzelkDlg dialog{host, [] { return std::time_t{1700000000}; }};
};

TEST_F(DialogTest, FirstStartShowsTheDefaults) {
  open();
  EXPECT_EQ(said(host), "");
  EXPECT_TRUE(host.focus_to_first_tab_stop);
  ASSERT_EQ(host.combo_rows[kIdBand].size(), 11u);
  EXPECT_EQ(host.combo_rows[kIdBand][0] + "|" + host.combo_rows[kIdBand][10], "6 M (50 MHz)|Satellite");
  EXPECT_EQ(host.combo_selection(kIdBand), -1);
  EXPECT_EQ(host.edits[kIdLLField], "");
  EXPECT_EQ(host.checks, (Checks{{kIdBold, true}, {kIdColor, true}, {kIdCChecked, true}, {kIdNeeded, true},
                                 {kIdSChecked, false}, {kIdFfma, false}, {kIdPortrait, false},
                                 {kIdLandscape, true}, {kIdTabloid, false}}));
  EXPECT_EQ(host.disabled, std::set<int>{kIdView});
  EXPECT_EQ(host.window_icon, 102);
  EXPECT_EQ(host.system_menu_entries, (std::vector<std::pair<int, std::string>>{{16, "&About ZELK to HTML..."}}));
  EXPECT_EQ(host.tooltips.size(), 9u);
  EXPECT_EQ(host.tooltips[kIdBand], "Select VHF Band");
  EXPECT_EQ(std::string(dialog.settings().version) + "|" + dialog.settings().program_base_name + "|" +
                dialog.settings().program_directory,
            "3.3.0.1|zelk2html|" + program_directory());
  EXPECT_EQ(scratch.names(), std::vector<std::string>{"logs"});

  ScriptedHost lost;  // neither its own path nor a system menu: start-up goes on
  lost.system_menu = false;
  CzelkDlg(lost).do_modal();
  EXPECT_EQ(said(lost), "error ZELK to HTML: ERROR: Can't get path to program!\n");
  EXPECT_EQ(lost.combo_rows[kIdBand].size(), 11u);
  EXPECT_TRUE(lost.checks[kIdLandscape]);
  EXPECT_TRUE(lost.system_menu_entries.empty());
}

TEST_F(DialogTest, SavedChoicesComeBack) {
  SettingsRecord saved = saved_record();
  saved.band_index = 5;
  std::snprintf(saved.lower_left_field, sizeof saved.lower_left_field, "FN");
  set_print_format(saved, kPortrait);
  saved.bold_option = 0;
  saved.ffma_option = saved.submitted_as_checked_option = 1;
  write_file(ini, record_image(saved));
  open();
  EXPECT_EQ(said(host), "");
  EXPECT_EQ(host.combo_selection(kIdBand), 5);
  EXPECT_EQ(host.edits[kIdLLField], "FN");
  EXPECT_EQ(host.checks, (Checks{{kIdBold, false}, {kIdColor, true}, {kIdCChecked, true}, {kIdNeeded, true},
                                 {kIdSChecked, true}, {kIdFfma, true}, {kIdPortrait, true},
                                 {kIdLandscape, false}, {kIdTabloid, false}}));
  EXPECT_EQ(dialog.settings().map_columns * 10 + dialog.settings().map_rows, 34);

  // A file that ends after the version and two letters keeps the defaults
  // beyond, and the running program's identity, so that the next save goes
  // beside the program and not into the current folder.
  write_file(ini, record_image(saved, 18));
  ScriptedHost fresh = new_host();
  CzelkDlg short_file(fresh);
  short_file.do_modal();
  EXPECT_EQ(said(fresh) + fresh.edits[kIdLLField], "FN");
  EXPECT_FALSE(fresh.checks[kIdFfma]);
  EXPECT_STREQ(short_file.settings().program_base_name, "zelk2html");
}

TEST_F(DialogTest, SettingsOfAnotherVersionAreDroppedWithAWarning) {
  SettingsRecord older = saved_record();
  std::snprintf(older.version, sizeof older.version, "3.2.0.0");
  older.band_index = 4;
  older.ffma_option = 1;
  for (const std::string& bytes : {record_image(older), std::string(), std::string("3.3.0", 5)}) {
    SCOPED_TRACE(bytes.size());
    ScriptedHost fresh = new_host();
    write_file(ini, bytes);
    CzelkDlg(fresh).do_modal();
    EXPECT_EQ(said(fresh), "warning zelk2html: Version number changed, resetting to default.\n");
    EXPECT_EQ(fresh.combo_selection(kIdBand), -1);
    EXPECT_FALSE(fresh.checks[kIdFfma]);
    EXPECT_EQ(read_file(ini), bytes);
  }
}

TEST_F(DialogTest, EveryControlWritesTheRecordAtOnce) {
  open();
  // bold, color, C = checked, needed, S = checked, FFMA, after each click
  std::string options;
  for (int id : {kIdBold, kIdColor, kIdCChecked, kIdNeeded, kIdSChecked, kIdFfma, kIdBold}) {
    host.click(id);
    const SettingsRecord& s = dialog.settings();
    for (auto option : {s.bold_option, s.color_option, s.confirmed_as_checked_option, s.emphasize_needed_option,
                        s.submitted_as_checked_option, s.ffma_option})
      options += std::to_string(option);
    options += " ";
  }
  EXPECT_EQ(options, "011100 001100 000100 000000 000010 000011 100011 ");
  // format, columns, rows
  for (auto [id, expected] : {std::pair{kIdPortrait, 34}, {kIdTabloid, 264}, {kIdLandscape, 143}}) {
    host.click(id);
    const SettingsRecord& s = dialog.settings();
    EXPECT_EQ(s.print_format * 100 + s.map_columns * 10 + s.map_rows, expected) << id;
  }
  host.pick(kIdBand, 3);
  EXPECT_EQ(dialog.settings().band_index, 3);
  host.pick(kIdBand, -1);
  EXPECT_EQ(dialog.settings().band_index, -1);
  // Nothing reaches the settings file until a Generate succeeds.
  EXPECT_FALSE(fs::exists(ini));
}

TEST_F(DialogTest, InputShowsTheNameAndPointsThePageIntoTheProgramFolder) {
  open();
  using Chosen = std::optional<std::string>;  // nothing: cancel
  for (Chosen chosen : {Chosen("/logs.2024/grids"), Chosen("/logs/my.grids.csv"), Chosen(), Chosen("/logs/grids.csv"),
                        Chosen("/" + std::string(259, 'x'))}) {
    host.chosen_files.push_back(chosen);
    host.click(kIdInput);
  }
  EXPECT_EQ(host.lists[kIdInputList], std::vector<std::string>{"grids.csv"});
  EXPECT_EQ(dialog.input_path(), "/logs/grids.csv");
  EXPECT_EQ(dialog.output_path(), page);
  EXPECT_EQ(said(host), "error zelk2html: ERROR: The input file's path is longer than 259 characters.\n");
  ASSERT_EQ(host.file_requests.size(), 5u);
  const OpenFileRequest& first = host.file_requests[0];
  EXPECT_EQ(first.title + "|" + first.filters.at(0).name + "|" + first.filters.at(0).pattern + "|" +
                first.filters.at(1).name + "|" + first.filters.at(1).pattern + "|" + first.default_extension,
            "Input CSV File|CSV Files|*.csv;|All Files|*.*|csv");
  EXPECT_TRUE(first.file_must_exist);
  EXPECT_EQ(first.initial_path, "");
  EXPECT_EQ(host.file_requests[2].initial_path, "/logs/my.grids.csv");
  EXPECT_EQ(host.file_requests[3].initial_path, "/logs/my.grids.csv") << "a cancel keeps the last choice";
}

TEST_F(DialogTest, PagePathBeyond259CharactersIsRefused) {
  // A program folder of 240 characters leaves room for a page name of 19.
  std::string folder = "/" + std::string(238, 'p') + "/";
  host.program = folder + "zelk2html";
  open();
  host.chosen_files.push_back("/logs/a-rather-long-listing-name.csv");
  host.click(kIdInput);
  EXPECT_EQ(dialog.input_path() + dialog.output_path(), "");
  EXPECT_EQ(host.list_count(kIdInputList), 0);
  EXPECT_EQ(said(host),
            "error zelk2html: ERROR: The output file's path would be longer than 259 characters; choose a listing "
            "with a shorter name or move the program to a shorter path.\n");
  host.chosen_files.push_back("/logs/short-name.csv");  // 240 + 15 = 255
  host.click(kIdInput);
  EXPECT_EQ(dialog.output_path(), folder + "short-name.html");
}

// The order of Generate's checks is its own test's; here only that the
// dialog hands on what was (not) chosen and shows the refusal.
TEST_F(DialogTest, GenerateRefusedWithoutAListingOrWithAWrongField) {
  open();
  host.click(kIdGenerate);
  generate(listing, 1, "f");
  EXPECT_EQ(said(host), "error zelk2html: ERROR: Didn't specify input file.\n"
                        "error zelk2html: ERROR: F is not a valid grid field\n");
  EXPECT_EQ(host.disabled.count(kIdView), 1u);
  EXPECT_STREQ(dialog.settings().lower_left_field, "");
  EXPECT_EQ(scratch.names(), std::vector<std::string>{"logs"});
}

TEST_F(DialogTest, GenerateWritesThePageAndSavesTheChoices) {
  open();
  generate(listing, 1, "em42");
  EXPECT_EQ(said(host), "information zelk2html: Wrote    2 grids to " + page +
                            "\n\nClick the 'View' button to see the output.\n\n"
                            "Print on 8.5x11 sheet in Landscape mode to a color printer.\n\n\n");
  EXPECT_EQ(host.disabled.count(kIdView), 0u);
  EXPECT_NE(read_file(page).find("<title>ZELK Grid Map for 2 M (144 MHz) (EM to HO) - 14 November 2023</title>"),
            std::string::npos);

  SettingsRecord saved = dialog.settings();
  ASSERT_EQ(load_settings_file(saved, ini), LoadOutcome::kLoaded);
  EXPECT_EQ(saved.band_index, 1);
  EXPECT_EQ(std::string(saved.lower_left_field) + "|" + saved.message, "EM|");
  EXPECT_EQ(read_file(ini).size(), kSettingsRecordSize);
}

TEST_F(DialogTest, FailedGenerateKeepsPageSettingsAndView) {
  const std::string broken = (dir / "other" / "grids.csv").string();
  write_file(broken, "Grid,6M\nEM10,W\n");
  open();
  generate(broken, 1, "EM");
  EXPECT_EQ(said(host), "error zelk2html: ERROR: No match found for band 2 M (144 MHz) in " + broken + "\n\n\n");
  EXPECT_EQ(host.disabled.count(kIdView), 1u);
  EXPECT_EQ(scratch.names(), (std::vector<std::string>{"logs", "other"}));

  generate(listing, 1, "EM");
  const std::string page_bytes = read_file(page), settings = read_file(ini);
  host.click(kIdFfma);
  generate(broken, 1, "EM");
  EXPECT_EQ(host.messages.back().icon, MessageIcon::kError);
  EXPECT_EQ(host.disabled.count(kIdView), 0u);
  EXPECT_EQ(read_file(page), page_bytes);
  EXPECT_EQ(read_file(ini), settings);
}

TEST_F(DialogTest, UnwritableSettingsFileIsAWarningAfterTheSummary) {
  fs::create_directories(ini);  // a folder where the file should go
  open();
  generate(listing, 1, "EM");
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(host.messages[1].icon, MessageIcon::kWarning);
  EXPECT_EQ(host.messages[1].text, "ERROR: Could not save settings file " + ini);
  EXPECT_EQ(host.disabled.count(kIdView), 0u);
}

TEST_F(DialogTest, ViewAndHelpOpenTheirPagesOrSayWhy) {
  open();
  host.click(kIdView);  // disabled before the first success
  host.click(kIdHelp);  // no help page beside the program
  generate(listing, 1, "EM");
  host.click(kIdView);
  const std::string help = (dir / "ZELK" / "index.html").string();
  write_file(help, "<html></html>\n");
  host.click(kIdHelp);
  EXPECT_EQ(host.opened, (std::vector<std::string>{page, help}));
  host.messages.erase(host.messages.begin() + 1);  // the summary
  host.shell_succeeds = false;
  host.click(kIdView);
  host.click(kIdHelp);
  // Another listing chosen: View stays enabled and names the page not yet written.
  host.shell_succeeds = true;
  host.chosen_files.push_back("/logs/other.csv");
  host.click(kIdInput);
  host.click(kIdView);
  EXPECT_EQ(said(host),
            "error zelk2html: ERROR:  Could not start web browser.\n"
            "error zelk2html: ERROR:  Could not start web browser.\n"
            "error zelk2html: ERROR:  Could not start web browser.\n"
            "error zelk2html: ERROR:  Could not open output file.\n");
  EXPECT_EQ(host.opened.size(), 4u) << "a page not yet written is not handed on";
}

TEST_F(DialogTest, AboutEntryOtherSystemCommandsAndDone) {
  open();
  host.choose_about();
  dialog.on_system_command(kAboutCommand | 0x3);  // the low four bits are the system's
  dialog.on_system_command(0xF060);  // close, handled by the platform
  EXPECT_EQ(host.about_boxes, 2);
  EXPECT_FALSE(host.dialog_result.has_value());
  host.click(kIdFfma);
  host.click(kIdDone);
  EXPECT_EQ(host.dialog_result, kIdDone);
  EXPECT_FALSE(fs::exists(ini)) << "Done does not save";
}

}  // namespace
}  // namespace zelk

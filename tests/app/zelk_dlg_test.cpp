// The main dialog driven through the scripted host: start-up with and without
// a settings file, the controls writing the record, Input, Generate, View,
// Help and the About box. Files live in a fresh folder per test, which plays
// the program's directory.
#include "app/zelk_dlg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/testing/scripted_host.h"
#include "cli/cli.h"
#include "conversion/settings_file.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

constexpr std::time_t kPageTime = 1700000000;

// Two credited squares on the 2 M band inside a map whose lower-left field is
// EM (empty cells would shift the later ones left, so "-" marks "not worked").
constexpr const char* kListing =
    "Grid,6M,2M\n"
    "EM10,-,W\n"
    "EM11,-,C\n"
    "FN42,W,-\n";
constexpr const char* kListingWithout2M = "Grid,6M\nEM10,W\n";

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void write_file(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string record_image(const SettingsRecord& record, std::size_t length = kSettingsRecordSize) {
  RecordBytes bytes;
  record_to_bytes(record, bytes);
  return std::string(reinterpret_cast<const char*>(bytes), length);
}

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir = fs::path(::testing::TempDir()) / ("zelk_dlg_" + name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    host.program = (dir / "zelk2html").string();
    host.version = VersionRecord{kVersionSignature, 0x00030003, 0x00000001};
  }
  ~DialogTest() override { fs::remove_all(dir); }

  void open() { dialog.do_modal(); }
  std::string program_directory() const { return (dir / "").string(); }  // with the platform's separator
  fs::path ini() const { return dir / "zelk2html.ini"; }

  // A record as this version saves it, for a settings file.
  SettingsRecord saved_record() const {
    SettingsRecord record;
    reset_to_defaults(record);
    copy_text(record.version, "3.3.0.1");
    copy_text(record.program_base_name, "zelk2html");
    copy_text(record.program_directory, program_directory().c_str());
    return record;
  }
  template <std::size_t N>
  static void copy_text(char (&field)[N], const char* text) {
    std::snprintf(field, N, "%s", text);
  }

  // Input, band, field and Generate, as a person would do them.
  void generate(const fs::path& listing, int band, const std::string& field) {
    host.chosen_files.push_back(listing.string());
    host.click(kIdInput);
    host.pick(kIdBand, band);
    host.type(kIdLLField, field);
    host.click(kIdGenerate);
  }

  fs::path dir;
  ScriptedHost host;
  CzelkDlg dialog{host, [] { return kPageTime; }};
};

TEST_F(DialogTest, FirstStartShowsTheDefaults) {
  open();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.focus_to_first_tab_stop);
  ASSERT_EQ(host.combo_rows[kIdBand].size(), 11u);
  EXPECT_EQ(host.combo_rows[kIdBand][0], "6 M (50 MHz)");
  EXPECT_EQ(host.combo_rows[kIdBand][10], "Satellite");
  EXPECT_EQ(host.combo_selection(kIdBand), -1);
  EXPECT_EQ(host.edits[kIdLLField], "");
  const std::map<int, bool> expected_checks = {
      {kIdBold, true},    {kIdColor, true},     {kIdCChecked, true}, {kIdNeeded, true},   {kIdSChecked, false},
      {kIdFfma, false},   {kIdPortrait, false}, {kIdLandscape, true}, {kIdTabloid, false},
  };
  EXPECT_EQ(host.checks, expected_checks);
  EXPECT_EQ(host.disabled, std::set<int>{kIdView});
  EXPECT_EQ(host.window_icon, 102);
  EXPECT_EQ(host.system_menu_entries, (std::vector<std::pair<int, std::string>>{{16, "&About ZELK to HTML..."}}));
  const std::map<int, std::string> expected_tooltips = {
      {kIdInputList, "Harvex ZELK Listing"},
      {kIdBand, "Select VHF Band"},
      {kIdLLField, "Field for lower-left corner of map"},
      {kIdColor, "Color output"},
      {kIdBold, "Bold output"},
      {kIdNeeded, "Emphasize needed grids"},
      {kIdSChecked, "Submitted and Checked are same color"},
      {kIdCChecked, "Confirmed and Checked are same color"},
      {kIdFfma, "Draw FFMA outline around USA"},
  };
  EXPECT_EQ(host.tooltips, expected_tooltips);
  EXPECT_STREQ(dialog.settings().version, "3.3.0.1");
  EXPECT_STREQ(dialog.settings().program_base_name, "zelk2html");
  EXPECT_EQ(dialog.settings().program_directory, program_directory());
  EXPECT_FALSE(fs::exists(ini()));
}

TEST_F(DialogTest, SavedChoicesComeBack) {
  SettingsRecord saved = saved_record();
  saved.band_index = 5;
  copy_text(saved.lower_left_field, "FN");
  set_print_format(saved, kPortrait);
  saved.bold_option = 0;
  saved.ffma_option = 1;
  saved.submitted_as_checked_option = 1;
  write_file(ini(), record_image(saved));
  open();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.combo_selection(kIdBand), 5);
  EXPECT_EQ(host.edits[kIdLLField], "FN");
  const std::map<int, bool> expected_checks = {
      {kIdBold, false},  {kIdColor, true},     {kIdCChecked, true},  {kIdNeeded, true},   {kIdSChecked, true},
      {kIdFfma, true},   {kIdPortrait, true}, {kIdLandscape, false}, {kIdTabloid, false},
  };
  EXPECT_EQ(host.checks, expected_checks);
  EXPECT_EQ(dialog.settings().map_columns, 3);
  EXPECT_EQ(dialog.settings().map_rows, 4);
}

TEST_F(DialogTest, SettingsOfAnotherVersionAreDroppedWithAWarning) {
  struct Case {
    const char* id;
    std::string bytes;
  };
  SettingsRecord older = saved_record();
  copy_text(older.version, "3.2.0.0");
  older.band_index = 4;
  older.ffma_option = 1;
  const Case cases[] = {
      {"older version", record_image(older)},
      {"empty file", ""},
      {"cut inside the version", std::string("3.3.0", 5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    ScriptedHost fresh;
    fresh.program = host.program;
    fresh.version = host.version;
    write_file(ini(), c.bytes);
    CzelkDlg other(fresh);
    other.do_modal();
    ASSERT_EQ(fresh.messages.size(), 1u);
    EXPECT_EQ(fresh.messages[0].text, "Version number changed, resetting to default.");
    EXPECT_EQ(fresh.messages[0].title, "zelk2html");
    EXPECT_EQ(fresh.messages[0].icon, MessageIcon::kWarning);
    EXPECT_EQ(fresh.combo_selection(kIdBand), -1);
    EXPECT_FALSE(fresh.checks[kIdFfma]);
    EXPECT_EQ(read_file(ini()), c.bytes);
  }
}

TEST_F(DialogTest, ShortFileKeepsDefaultsWhereItEnds) {
  SettingsRecord saved = saved_record();
  copy_text(saved.lower_left_field, "EM");
  saved.ffma_option = 1;
  write_file(ini(), record_image(saved, 18));  // the version and two letters
  open();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.edits[kIdLLField], "EM");
  EXPECT_FALSE(host.checks[kIdFfma]);
  EXPECT_TRUE(host.checks[kIdLandscape]);
  // The identity the file did not reach stays the running program's, so the
  // next save goes beside the program and not into the current folder.
  EXPECT_STREQ(dialog.settings().program_base_name, "zelk2html");
}

TEST_F(DialogTest, UnknownProgramPathIsReportedAndStartUpGoesOn) {
  host.program.reset();
  open();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "ERROR: Can't get path to program!");
  EXPECT_EQ(host.messages[0].title, "ZELK to HTML");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  EXPECT_EQ(host.combo_rows[kIdBand].size(), 11u);
  EXPECT_TRUE(host.checks[kIdLandscape]);
}

TEST_F(DialogTest, EveryControlWritesTheRecordAtOnce) {
  open();
  struct Box {
    int id;
    std::int32_t SettingsRecord::*option;
    std::int32_t after_click;
  };
  const Box boxes[] = {
      {kIdBold, &SettingsRecord::bold_option, 0},
      {kIdColor, &SettingsRecord::color_option, 0},
      {kIdCChecked, &SettingsRecord::confirmed_as_checked_option, 0},
      {kIdNeeded, &SettingsRecord::emphasize_needed_option, 0},
      {kIdSChecked, &SettingsRecord::submitted_as_checked_option, 1},
      {kIdFfma, &SettingsRecord::ffma_option, 1},
  };
  for (const Box& box : boxes) {
    SCOPED_TRACE(box.id);
    host.click(box.id);
    EXPECT_EQ(dialog.settings().*box.option, box.after_click);
    host.click(box.id);
    EXPECT_EQ(dialog.settings().*box.option, 1 - box.after_click);
  }

  struct Format {
    int id;
    std::int32_t print_format, columns, rows;
  };
  const Format formats[] = {{kIdPortrait, 0, 3, 4}, {kIdTabloid, 2, 6, 4}, {kIdLandscape, 1, 4, 3}};
  for (const Format& format : formats) {
    SCOPED_TRACE(format.id);
    host.click(format.id);
    EXPECT_EQ(dialog.settings().print_format, format.print_format);
    EXPECT_EQ(dialog.settings().map_columns, format.columns);
    EXPECT_EQ(dialog.settings().map_rows, format.rows);
  }

  host.pick(kIdBand, 3);
  EXPECT_EQ(dialog.settings().band_index, 3);
  host.pick(kIdBand, -1);
  EXPECT_EQ(dialog.settings().band_index, -1);
  // Nothing reaches the settings file until a Generate succeeds.
  EXPECT_FALSE(fs::exists(ini()));
}

TEST_F(DialogTest, InputShowsTheNameAndPointsThePageIntoTheProgramFolder) {
  open();
  struct Case {
    const char* chosen;
    const char* shown;
    const char* page;
  };
  const Case cases[] = {
      {"/logs/grids.csv", "grids.csv", "grids.html"},
      {"/logs/my.grids.csv", "my.grids.csv", "my.grids.html"},
      {"/logs.2024/grids", "grids", "grids.html"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    host.chosen_files.push_back(c.chosen);
    host.click(kIdInput);
    EXPECT_EQ(host.lists[kIdInputList], std::vector<std::string>{c.shown});
    EXPECT_EQ(dialog.input_path(), c.chosen);
    EXPECT_EQ(dialog.output_path(), program_directory() + c.page);
  }
  ASSERT_EQ(host.file_requests.size(), 3u);
  const OpenFileRequest& first = host.file_requests[0];
  EXPECT_EQ(first.title, "Input CSV File");
  ASSERT_EQ(first.filters.size(), 2u);
  EXPECT_EQ(first.filters[0].name, "CSV Files");
  EXPECT_EQ(first.filters[0].pattern, "*.csv;");
  EXPECT_EQ(first.filters[1].name, "All Files");
  EXPECT_EQ(first.filters[1].pattern, "*.*");
  EXPECT_EQ(first.default_extension, "csv");
  EXPECT_TRUE(first.file_must_exist);
  EXPECT_EQ(first.initial_path, "");
  EXPECT_EQ(host.file_requests[2].initial_path, "/logs/my.grids.csv");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(DialogTest, CancelAndOverlongPathsLeaveEverythingAsItWas) {
  open();
  host.chosen_files.push_back("/logs/grids.csv");
  host.click(kIdInput);
  host.chosen_files.push_back(std::nullopt);
  host.click(kIdInput);
  host.chosen_files.push_back("/" + std::string(259, 'x'));
  host.click(kIdInput);
  EXPECT_EQ(dialog.input_path(), "/logs/grids.csv");
  EXPECT_EQ(dialog.output_path(), program_directory() + "grids.html");
  EXPECT_EQ(host.lists[kIdInputList], std::vector<std::string>{"grids.csv"});
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "ERROR: The input file's path is longer than 259 characters.");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
}

TEST_F(DialogTest, PagePathBeyond259CharactersIsRefused) {
  // A program folder of 240 characters leaves room for a page name of 19.
  std::string folder = "/" + std::string(238, 'p') + "/";
  host.program = folder + "zelk2html";
  open();
  host.chosen_files.push_back("/logs/a-rather-long-listing-name.csv");
  host.click(kIdInput);
  EXPECT_EQ(dialog.input_path(), "");
  EXPECT_EQ(dialog.output_path(), "");
  EXPECT_EQ(host.list_count(kIdInputList), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            "ERROR: The output file's path would be longer than 259 characters; choose a listing with a shorter "
            "name or move the program to a shorter path.");
  host.chosen_files.push_back("/logs/short-name.csv");  // 240 + 15 = 255
  host.click(kIdInput);
  EXPECT_EQ(dialog.output_path(), folder + "short-name.html");
}

TEST_F(DialogTest, GenerateRefusesIncompleteChoices) {
  write_file(dir / "logs" / "grids.csv", kListing);
  open();
  struct Case {
    const char* id;
    bool choose_file;
    int band;
    const char* typed;
    const char* message;
  };
  const Case cases[] = {
      {"nothing chosen", false, -1, "", "ERROR: Didn't specify input file."},
      {"no band", true, -1, "EM", "ERROR: Didn't select a band."},
      {"no field", true, 1, "", "ERROR: Didn't specify the starting field."},
      {"field beyond R", true, 1, "as", "ERROR: AS is not a valid grid field"},
      {"one letter", true, 1, "f", "ERROR: F is not a valid grid field"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    ScriptedHost fresh;
    fresh.program = host.program;
    fresh.version = host.version;
    CzelkDlg other(fresh);
    other.do_modal();
    if (c.choose_file) {
      fresh.chosen_files.push_back((dir / "logs" / "grids.csv").string());
      fresh.click(kIdInput);
    }
    fresh.pick(kIdBand, c.band);
    fresh.type(kIdLLField, c.typed);
    fresh.click(kIdGenerate);
    ASSERT_EQ(fresh.messages.size(), 1u);
    EXPECT_EQ(fresh.messages[0].text, c.message);
    EXPECT_EQ(fresh.messages[0].icon, MessageIcon::kError);
    EXPECT_EQ(fresh.disabled.count(kIdView), 1u);
    EXPECT_STREQ(other.settings().lower_left_field, "");
  }
  EXPECT_FALSE(fs::exists(ini()));
  EXPECT_FALSE(fs::exists(dir / "grids.html"));
}

TEST_F(DialogTest, GenerateWritesTheCommandLinesPageAndSavesTheChoices) {
  fs::path listing = dir / "logs" / "grids.csv";
  write_file(listing, kListing);
  open();
  generate(listing, 1, "em42");

  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Wrote    2 grids to " + program_directory() +
                                       "grids.html\n\n"
                                       "Click the 'View' button to see the output.\n\n"
                                       "Print on 8.5x11 sheet in Landscape mode to a color printer.\n\n");
  EXPECT_EQ(host.messages[0].title, "zelk2html");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(host.disabled.count(kIdView), 0u);

  // The command line, asked for the same choices and date, writes the same bytes.
  std::ostringstream out, err;
  CliEnvironment environment;
  environment.source_date_epoch = "1700000000";
  fs::path cli_page = dir / "cli.html";
  ASSERT_EQ(cli_main({listing.string(), "-o", cli_page.string(), "--band", "1", "--field", "EM"}, out, err,
                     environment),
            0)
      << err.str();
  EXPECT_EQ(read_file(dir / "grids.html"), read_file(cli_page));

  SettingsRecord saved = dialog.settings();
  ASSERT_EQ(load_settings_file(saved, ini().string()), LoadOutcome::kLoaded);
  EXPECT_EQ(saved.band_index, 1);
  EXPECT_STREQ(saved.lower_left_field, "EM");
  EXPECT_STREQ(saved.message, "");
  EXPECT_EQ(read_file(ini()).size(), kSettingsRecordSize);
}

TEST_F(DialogTest, FailedGenerateKeepsPageSettingsAndView) {
  fs::path listing = dir / "logs" / "grids.csv";
  fs::path broken = dir / "other" / "grids.csv";
  write_file(listing, kListing);
  write_file(broken, kListingWithout2M);

  // Before any success, a failure leaves View disabled and writes nothing.
  open();
  generate(broken, 1, "EM");
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "ERROR: No match found for band 2 M (144 MHz) in " + broken.string() + "\n\n");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);
  EXPECT_EQ(host.disabled.count(kIdView), 1u);
  EXPECT_FALSE(fs::exists(ini()));
  EXPECT_FALSE(fs::exists(dir / "grids.html"));

  generate(listing, 1, "EM");
  std::string page = read_file(dir / "grids.html");
  std::string settings = read_file(ini());
  host.click(kIdFfma);
  generate(broken, 1, "EM");
  EXPECT_EQ(host.messages.back().icon, MessageIcon::kError);
  EXPECT_EQ(host.disabled.count(kIdView), 0u);
  EXPECT_EQ(read_file(dir / "grids.html"), page);
  EXPECT_EQ(read_file(ini()), settings);
}

TEST_F(DialogTest, UnwritableSettingsFileIsAWarningAfterTheSummary) {
  fs::path listing = dir / "logs" / "grids.csv";
  write_file(listing, kListing);
  fs::create_directories(ini());  // a folder where the file should go
  open();
  generate(listing, 1, "EM");
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(host.messages[1].text, "ERROR: Could not save settings file " + ini().string());
  EXPECT_EQ(host.messages[1].icon, MessageIcon::kWarning);
  EXPECT_EQ(host.disabled.count(kIdView), 0u);
}

TEST_F(DialogTest, ViewOpensThePageOrSaysWhy) {
  fs::path listing = dir / "logs" / "grids.csv";
  write_file(listing, kListing);
  open();
  host.click(kIdView);  // disabled before the first success
  EXPECT_TRUE(host.opened.empty());
  generate(listing, 1, "EM");
  host.messages.clear();

  host.click(kIdView);
  EXPECT_EQ(host.opened, std::vector<std::string>{program_directory() + "grids.html"});
  EXPECT_TRUE(host.messages.empty());

  host.shell_succeeds = false;
  host.click(kIdView);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "ERROR:  Could not start web browser.");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::kError);

  // Another listing chosen: View stays enabled and names the page not yet written.
  host.chosen_files.push_back("/logs/other.csv");
  host.click(kIdInput);
  host.click(kIdView);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].text, "ERROR:  Could not open output file.");
  EXPECT_EQ(host.opened.size(), 2u);
}

TEST_F(DialogTest, HelpOpensThePageBesideTheProgram) {
  open();
  host.click(kIdHelp);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "ERROR:  Could not start web browser.");
  EXPECT_TRUE(host.opened.empty());

  write_file(dir / "ZELK" / "index.html", "<html></html>\n");
  host.click(kIdHelp);
  EXPECT_EQ(host.opened, std::vector<std::string>{(dir / "ZELK" / "index.html").string()});
  EXPECT_EQ(host.messages.size(), 1u);

  host.shell_succeeds = false;
  host.click(kIdHelp);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].text, "ERROR:  Could not start web browser.");
}

TEST_F(DialogTest, AboutEntryAndOtherSystemCommands) {
  open();
  host.choose_about();
  EXPECT_EQ(host.about_boxes, 1);
  dialog.on_system_command(kAboutCommand | 0x3);  // the low four bits are the system's
  EXPECT_EQ(host.about_boxes, 2);
  dialog.on_system_command(0xF060);  // close, handled by the platform
  EXPECT_EQ(host.about_boxes, 2);
  EXPECT_FALSE(host.dialog_result.has_value());

  ScriptedHost plain;
  plain.system_menu = false;
  CzelkDlg other(plain);
  other.do_modal();
  EXPECT_TRUE(plain.system_menu_entries.empty());
}

TEST_F(DialogTest, DoneEndsWithoutSaving) {
  open();
  host.click(kIdFfma);
  host.click(kIdDone);
  EXPECT_EQ(host.dialog_result, kIdDone);
  EXPECT_FALSE(fs::exists(ini()));
}

}  // namespace
}  // namespace zelk

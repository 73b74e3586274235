// Generate: the checks in order, the summary, and what failures leave behind.
#include "conversion/generate.h"

#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace zelk {
namespace {

using test::read_file;
using test::ScratchFolder;
using test::write_file;

SettingsRecord ready_record() {
  SettingsRecord record;
  reset_to_defaults(record);
  record.band_index = 1;
  return record;
}

GenerateRequest request(const std::string& input, const std::string& output, const std::string& field) {
  GenerateRequest request;
  request.has_input_file = true;
  request.input_path = input;
  request.output_path = output;
  request.ll_field_text = field;
  return request;
}

TEST(Generate, ChecksInOrderAndChangesNothingWhenOneFails) {
  ScratchFolder folder;
  const std::string listing = folder / "grids.csv", page = folder / "grids.html";
  write_file(listing, "Grid,2M\nEM00,W\n");
  struct Case {
    bool has_input;
    std::string output;
    int band, rows, columns;
    std::string field, message;
  };
  const Case cases[] = {
      {false, "", -1, 3, 4, "", "ERROR: Didn't specify input file."},
      {true, "", -1, 3, 4, "", "ERROR: Didn't specify output file."},
      {true, page, -1, -1, 4, "", "ERROR: Didn't select a band."},
      {true, page, 1, -1, 4, "", "ERROR: Didn't select a print format."},
      {true, page, 1, 3, -1, "", "ERROR: Didn't select a print format."},
      {true, page, 1, 3, 4, "", "ERROR: Didn't specify the starting field."},
      {true, page, 1, 3, 4, "AS", "ERROR: AS is not a valid grid field"},
      {true, page, 1, 3, 4, "SA", "ERROR: SA is not a valid grid field"},
      {true, page, 1, 3, 4, "F", "ERROR: F is not a valid grid field"},
      {true, page, 1, 3, 4, "fn42", "ERROR: fn42 is not a valid grid field"},
      {true, page, 1, 3, 4, "@A", "ERROR: @A is not a valid grid field"},
      // The message buffer holds 63 characters: the text is cut, not overrun.
      {true, page, 1, 3, 4, "AZ" + std::string(40, 'z'), "ERROR: AZ" + std::string(40, 'z') + " is not a vali"},
  };
  for (const Case& c : cases) {
    SettingsRecord record = ready_record();
    record.band_index = c.band;
    record.map_rows = c.rows;
    record.map_columns = c.columns;
    const SettingsRecord before = record;
    GenerateRequest r = request(listing, c.output, c.field);
    r.has_input_file = c.has_input;
    GenerateResult result = generate(record, r);
    EXPECT_EQ(result.status, GenerateStatus::kRefused) << c.message;
    EXPECT_EQ(result.message, c.message);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << c.message;
  }
  EXPECT_EQ(folder.names(), std::vector<std::string>{"grids.csv"});
}

// 123 credited squares on the map EM..HO, 45 of them FFMA squares (EM00..EM44).
std::string listing_123_45() {
  std::string listing = "Grid,2M\n";
  for (int n = 0; n < 45; ++n) listing += "EM" + std::to_string(n / 10) + std::to_string(n % 10) + ",C\n";
  for (int n = 0; n < 78; ++n) listing += "HO" + std::to_string(n / 10) + std::to_string(n % 10) + ",W\n";
  return listing + "EL09,W\n";  // off the map
}

TEST(Generate, SummaryFormats) {
  ScratchFolder folder;
  const std::string listing = folder / "grids.csv", page = folder / "grids.html";
  write_file(listing, listing_123_45());
  const std::string view = "Click the 'View' button to see the output.\n\n";
  struct Case {
    int ffma, color, columns;
    bool mention_view;
    std::string summary;
  };
  const Case cases[] = {
      {1, 1, 4, true,
       "Wrote  123 (45 FFMA) grids to " + page + "\n\n" + view + "Print on 8.5x11 sheet in Landscape mode to a color printer.\n\n"},
      {0, 1, 6, false, "Wrote  123 grids to " + page + "\n\nPrint on 11x17 sheet in Landscape mode to a color printer.\n\n"},
      {1, 0, 3, true, "Wrote   45 (45 FFMA) grids to " + page + "\n\n" + view + "Print on 8.5x11 sheet in Portrait mode\n\n"},
      {0, 1, 5, true, "Wrote  123 grids to " + page + "\n\n" + view + " to a color printer.\n\n"},
      {0, 0, 5, true, "Wrote  123 grids to " + page + "\n\n" + view + "\n\n"},
  };
  for (const Case& c : cases) {
    SettingsRecord record = ready_record();
    record.ffma_option = c.ffma;
    record.color_option = c.color;
    record.map_columns = c.columns;
    GenerateRequest r = request(listing, page, "EMxx");
    r.mention_view_button = c.mention_view;
    GenerateResult result = generate(record, r);
    EXPECT_EQ(result.status, GenerateStatus::kWritten);
    EXPECT_EQ(result.message, c.summary);
    EXPECT_STREQ(record.message, c.summary.c_str());
    EXPECT_STREQ(record.lower_left_field, "EM");
    EXPECT_EQ(result.ffma_count, 45);
  }
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"grids.csv", "grids.html"}));
}

TEST(Generate, LongOutputPathIsCutInTheSummary) {
  ScratchFolder folder;
  const std::string listing = folder / "grids.csv";
  write_file(listing, listing_123_45());
  // The summary's later pieces stop at 254 characters; the first at 255.
  for (std::size_t length : {174u, 320u}) {
    const std::size_t room = length - folder.path().size() - std::string("///page.html").size();
    const std::string a(room / 2, 'a'), b(room - room / 2, 'b');
    std::filesystem::create_directories(folder.path() + "/" + a + "/" + b);
    const std::string page = folder.path() + "/" + a + "/" + b + "/page.html";
    ASSERT_EQ(page.size(), length);
    SettingsRecord record = ready_record();
    GenerateResult result = generate(record, request(listing, page, "EM"));
    const std::string full = "Wrote  123 grids to " + page +
                             "\n\nClick the 'View' button to see the output.\n\n"
                             "Print on 8.5x11 sheet in Landscape mode to a color printer.\n\n";
    EXPECT_EQ(result.status, GenerateStatus::kWritten);
    EXPECT_EQ(result.message, full.substr(0, length == 174 ? 254 : 255));
  }
}

TEST(Generate, FailuresLeaveTheOldPageAndNoTemporaryFile) {
  ScratchFolder folder;
  const std::string listing = folder / "grids.csv", page = folder / "grids.html";
  struct Case {
    std::string listing_text, input, output, message;
  };
  const Case cases[] = {
      {"Nope,2M\nEM00,W\n", listing, page, "ERROR: Unrecognized format of input file " + listing + "\n"},
      {"Grid,2M\n", listing, page, "Read     0 worked grids from " + listing + "\n"},
      {"Grid,6M\nEM00,W\n", listing, page, "ERROR: No match found for band 2 M (144 MHz) in " + listing + "\n\n"},
      {"Grid,2M\nEM00,W\n", folder / "missing.csv", page, "ERROR: Could not open input file " + folder / "missing.csv"},
      {"Grid,2M\nEM00,W\n", folder.path(), page, "ERROR: Could not open input file " + folder.path()},
      {"Grid,2M\nEM00,W\n", listing, folder / "no/grids.html", "ERROR: Could not create output file " + folder / "no/grids.html"},
      {"Grid,2M\nEM00,W\n", listing, folder.path(), "ERROR: Could not create output file " + folder.path()},
  };
  for (const Case& c : cases) {
    write_file(listing, c.listing_text);
    write_file(page, "old page");
    SettingsRecord record = ready_record();
    GenerateResult result = generate(record, request(c.input, c.output, "FN42"));
    EXPECT_EQ(result.status, GenerateStatus::kFailed) << c.message;
    EXPECT_EQ(result.message, c.message);
    EXPECT_STREQ(record.message, c.message.c_str());
    EXPECT_STREQ(record.lower_left_field, "FN");
    EXPECT_EQ(read_file(page), "old page");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"grids.csv", "grids.html"})) << c.message;
  }
}

TEST(Generate, SettingsSaveAfterASummary) {
  ScratchFolder folder;
  SettingsRecord record = ready_record();
  std::strcpy(record.program_base_name, "zelk2html");
  std::strcpy(record.program_directory, (folder / "missing/").c_str());
  EXPECT_EQ(save_settings_after_generate(record), "ERROR: Could not save settings file " + folder / "missing/zelk2html.ini");
  std::strcpy(record.program_directory, (folder.path() + "/").c_str());
  std::strcpy(record.message, "Wrote");
  EXPECT_EQ(save_settings_after_generate(record), "");
  EXPECT_EQ(read_file(folder / "zelk2html.ini").size(), 596u);
  EXPECT_EQ(record.message[0], '\0');
}

}  // namespace
}  // namespace zelk

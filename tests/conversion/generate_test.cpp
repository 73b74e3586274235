// Generate: the checks in order, the summary, and what failures leave behind.
#include "conversion/generate.h"

#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "conversion/file_paths.h"
#include "test_helpers.h"

namespace zelk {
namespace {

using test::read_file, test::record_for, test::request_for, test::write_file;

TEST(Generate, ChecksInOrderChangeNothingWhenOneFails) {
  test::ScratchFolder folder;
  const std::string listing = folder / "grids.csv", page = folder / "grids.html";
  write_file(listing, "Grid,2M\nEM00,W\n");
  if (!test::make_symlink("grids.csv", folder / "link.html")) std::filesystem::create_hard_link(listing, folder / "link.html");
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
      {true, page, 1, 3, 4, "SA", "ERROR: SA is not a valid grid field"},
      {true, page, 1, 3, 4, "F", "ERROR: F is not a valid grid field"},
      {true, page, 1, 3, 4, "@A", "ERROR: @A is not a valid grid field"},  // and room for 63 characters:
      {true, page, 1, 3, 4, "AZ" + std::string(40, 'z'), "ERROR: AZ" + std::string(40, 'z') + " is not a vali"},
      {true, listing, 1, 3, 4, "EM", "ERROR: The page " + listing + " would replace the listing " + listing},
      {true, folder / "link.html", 1, 3, 4, "EM",
       "ERROR: The page " + folder / "link.html" + " would replace the listing " + listing},
  };
  for (const Case& c : cases) {
    SettingsRecord record = record_for(c.band);
    record.map_rows = c.rows;
    record.map_columns = c.columns;
    const SettingsRecord before = record;
    GenerateRequest r = request_for(listing, c.output, c.field);
    r.has_input_file = c.has_input;
    GenerateResult result = generate(record, r);
    EXPECT_EQ(result.status, GenerateStatus::kRefused) << c.message;
    EXPECT_EQ(result.message, c.message);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << c.message;
  }
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"grids.csv", "link.html"}));
  EXPECT_EQ(read_file(listing), "Grid,2M\nEM00,W\n");
}

// 123 credited squares on the map EM..HO, 45 of them FFMA squares (EM00..EM44).
std::string listing_123_45() {
  std::string listing = "Grid,2M\n";
  for (int n = 0; n < 45; ++n) listing += "EM" + std::to_string(n / 10) + std::to_string(n % 10) + ",C\n";
  for (int n = 0; n < 78; ++n) listing += "HO" + std::to_string(n / 10) + std::to_string(n % 10) + ",W\n";
  return listing + "EL09,W\n";  // off the map
}

TEST(Generate, Summaries) {
  test::ScratchFolder folder;
  const std::string listing = folder / "grids.csv", page = folder / "grids.html";
  write_file(listing, listing_123_45());
  const std::string view = "Click the 'View' button to see the output.\n\n";
  struct Case {
    int ffma, color, columns;
    bool view;
    std::string summary;
  };
  const Case cases[] = {
      {1, 1, 4, true,
       "Wrote  123 (45 FFMA) grids to " + page + "\n\n" + view +
           "Print on 8.5x11 sheet in Landscape mode to a color printer.\n\n"},
      {0, 1, 6, false,
       "Wrote  123 grids to " + page + "\n\nPrint on 11x17 sheet in Landscape mode to a color printer.\n\n"},
      {1, 0, 3, true,
       "Wrote   45 (45 FFMA) grids to " + page + "\n\n" + view + "Print on 8.5x11 sheet in Portrait mode\n\n"},
      {0, 1, 5, true, "Wrote  123 grids to " + page + "\n\n" + view + " to a color printer.\n\n"},
  };
  for (const Case& c : cases) {
    SettingsRecord record = record_for(1);
    record.ffma_option = c.ffma;
    record.color_option = c.color;
    record.map_columns = c.columns;
    GenerateRequest r = request_for(listing, page, "EMxx");
    r.mention_view_button = c.view;
    GenerateResult result = generate(record, r);
    EXPECT_EQ(result.status, GenerateStatus::kWritten);
    EXPECT_EQ(result.message, c.summary);
    EXPECT_EQ(record.message, c.summary);
    EXPECT_STREQ(record.lower_left_field, "EM");
    EXPECT_EQ(result.ffma_count, 45);
  }
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"grids.csv", "grids.html"}));

  // A long output path: the first two pieces stop at 255 characters, the later ones at 254.
  for (std::size_t length : {174u, 320u}) {
    const std::size_t room = length - folder.path().size() - std::string("///page.html").size();
    const std::string folders =
        folder.path() + "/" + std::string(room / 2, 'a') + "/" + std::string(room - room / 2, 'b');
    std::filesystem::create_directories(folders);
    SettingsRecord record = record_for(1);
    GenerateResult result = generate(record, request_for(listing, folders + "/page.html", "EM"));
    const std::string full = "Wrote  123 grids to " + folders + "/page.html\n\n" + view +
                             "Print on 8.5x11 sheet in Landscape mode to a color printer.\n\n";
    EXPECT_EQ(result.message, full.substr(0, length == 174 ? 254 : 255));
  }
}

// A program folder named in any language, so long that the summary is cut inside one of its
// characters: the page and its pictures are written, and the summary ends before that character.
TEST(Generate, SummaryCutInsideACharacterOfTheFolderEndsBeforeIt) {
  test::ScratchFolder folder;
  const std::string listing = folder / "Пётр Mañana 東京.csv";
  write_file(listing, listing_123_45());
  write_file(folder / "images/EM.gif", "M");
  const std::string before_folder = "Wrote  123 grids to " + folder.path() + "/";
  struct Case {
    std::string name;          // ends the folder's name
    std::size_t bytes_inside;  // of it, before the message's 255th byte
    std::size_t dropped;       // bytes of a character cut in two
  } cases[] = {{"東京", 1, 1}, {"東京", 2, 2}, {"東京", 3, 0}, {"Пётр", 1, 1}, {"Пётр", 2, 0}, {"Mañana", 3, 1}, {"QTH📻", 6, 3}};
  for (const Case& c : cases) {
    const std::string program_folder =
        folder / (std::string(255 - before_folder.size() - c.bytes_inside, 'a') + c.name);
    const std::string page = program_folder + "/grids.html";
    std::filesystem::create_directories(path_of(program_folder));
    SettingsRecord record = record_for(1);
    GenerateRequest request = request_for(listing, page, "EM");
    request.field_images_folder = folder / "images";
    GenerateResult result = generate(record, request);
    SCOPED_TRACE(c.name + " " + std::to_string(c.bytes_inside));
    EXPECT_EQ(result.status, GenerateStatus::kWritten);
    EXPECT_EQ(result.message, ("Wrote  123 grids to " + page).substr(0, 255 - c.dropped));
    EXPECT_EQ(read_file(program_folder + "/images/EM.gif"), "M");
  }
}

// A failed run says why and leaves the old page; hostile listings included.
TEST(Generate, FailuresLeaveTheOldPageAndNoTemporaryFile) {
  test::ScratchFolder folder;
  const std::string listing = folder / "grids.csv", page = folder / "grids.html", good = "Grid,2M\nFN42,W\n";
  const std::string megabyte(1 << 20, 'X'), unrecognized = "ERROR: Unrecognized format of input file " + listing + "\n";
  const std::string written = "Wrote    1 grids to " + page;
  struct Case {
    std::string listing_text, input, output, message;
  };
  const Case cases[] = {
      {"Grid,2M\n", listing, page, "Read     0 worked grids from " + listing + "\n"},
      {"Grid,6M\nFN42,W\n", listing, page, "ERROR: No match found for band 2 M (144 MHz) in " + listing + "\n\n"},
      {"Grid," + megabyte, listing, page, "ERROR: No match found for band 2 M (144 MHz) in " + listing + "\n\n"},
      {good, folder.path(), page, "ERROR: Could not open input file " + folder.path()},
      {good, listing, folder / "no/grids.html", "ERROR: Could not create output file " + folder / "no/grids.html"},
      {good, listing, folder.path(), "ERROR: Could not create output file " + folder.path()},
#ifdef __linux__
      {good, "/proc/self/mem", page, "ERROR: Could not read input file /proc/self/mem"},  // reading it fails at once
#endif
      {std::string(4096, '\0'), listing, page, unrecognized},
      // Past the reader's buffer, whatever its size; a NUL ends a grid and is no status. Only FN42 counts.
      {"Grid,2M\n" + megabyte + ",C\nFN42,C\n", listing, page, written},
      {"Grid," + megabyte + ",2M\nFN42,W,C\n", listing, page, written},
      {"Grid,2M\nFN42,C\n" + megabyte, listing, page, written},
      {std::string("Grid,2M\nFN42,C\nFN\0" "43,W\nFN44,\0\n", 28), listing, page, written},
      {"Grid,2M\nAA00,W\n", listing, page, "Wrote    0 grids to " + page},  // off the map: still a page
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message.substr(0, 60));
    write_file(listing, c.listing_text);
    write_file(page, "old page");
    SettingsRecord record = record_for(1);
    std::strcpy(record.lower_left_field, "EMEMEMM");  // as a foreign settings file may leave it
    GenerateResult result = generate(record, request_for(c.input, c.output, "FN42"));
    EXPECT_EQ(record.message, result.message);
    EXPECT_STREQ(record.lower_left_field, "FN");  // kept from the run that got past the checks
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"grids.csv", "grids.html"}));
    if (c.message.starts_with("Wrote ")) {
      EXPECT_EQ(result.status, GenerateStatus::kWritten);
      EXPECT_EQ(result.message.substr(0, c.message.size()), c.message);
      continue;
    }
    EXPECT_EQ(result.status, GenerateStatus::kFailed);
    EXPECT_EQ(result.message, c.message);
    EXPECT_EQ(read_file(page), "old page");
  }
  // After a good page a settings file that cannot be saved is a warning.
  SettingsRecord record = record_for(1);
  EXPECT_EQ(save_settings_after_generate(record, folder / "no/zelk2html.ini"),
            "ERROR: Could not save settings file " + folder / "no/zelk2html.ini");
  EXPECT_EQ(save_settings_after_generate(record, folder / "zelk2html.ini"), "");
  EXPECT_EQ(read_file(folder / "zelk2html.ini").size(), 596u);
}

}  // namespace
}  // namespace zelk

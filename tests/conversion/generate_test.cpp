// Generate: the checks in order, the summary, and what failures leave behind.
#include "conversion/generate.h"

#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "test_helpers.h"

namespace zelk {
namespace {

using test::read_file, test::record_for, test::request_for, test::write_file;
using Names = std::vector<std::string>;

TEST(Generate, ChecksInOrderChangeNothingWhenOneFails) {
  test::ScratchFolder folder;
  const std::string listing = folder / "grids.csv", page = folder / "grids.html";
  const std::string link = folder / "link.html", bad = " is not a valid grid field";
  write_file(listing, "Grid,2M\nEM00,W\n");
  if (!test::make_symlink("grids.csv", link)) std::filesystem::create_hard_link(listing, link);
  const std::string z40(40, 'z');
  const struct {
    std::string output;  // "-": no listing chosen either
    int band;
    std::string field, message;
  } cases[] = {
      {"-", -1, "", "Didn't specify input file."},
      {"", -1, "", "Didn't specify output file."},
      {page, -1, "", "Didn't select a band."},
      {page, 1, "", "Didn't specify the starting field."},
      {page, 1, "SA", "SA" + bad},
      {page, 1, "F", "F" + bad},
      {page, 1, "@A", "@A" + bad},
      {page, 1, "AZ" + z40, "AZ" + z40 + bad},  // whole, however long
      {listing, 1, "EM", "The page " + listing + " would replace the listing " + listing},
      {link, 1, "EM", "The page " + link + " would replace the listing " + listing},
  };
  for (const auto& c : cases) {
    SettingsRecord record = record_for(c.band);
    const SettingsRecord before = record;
    GenerateRequest r = request_for(listing, c.output == "-" ? "" : c.output, c.field);
    r.has_input_file = c.output != "-";
    GenerateResult result = generate(record, r);
    EXPECT_EQ(result.status, GenerateStatus::kRefused) << c.message;
    EXPECT_EQ(result.message, "ERROR: " + c.message);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << c.message;
  }
  EXPECT_EQ(folder.names(), (Names{"grids.csv", "link.html"}));
}

// 123 credited squares on the map EM..HO, 45 of them FFMA squares (EM00..EM44),
// in a folder named in any language.
TEST(Generate, SummariesWholeTheRecordKeepsWhatFits) {
  test::ScratchFolder folder;
  const std::string listing = folder / "Пётр Mañana 東京.csv", page = folder / "grids.html";
  std::string grids = "Grid,2M\nEL09,W\n";  // off the map
  for (int n = 0; n < 45; ++n) grids += "EM" + std::to_string(n / 10) + std::to_string(n % 10) + ",C\n";
  for (int n = 0; n < 78; ++n) grids += "HO" + std::to_string(n / 10) + std::to_string(n % 10) + ",W\n";
  write_file(listing, grids);
  write_file(folder / "images/EM.gif", "M");
  const std::string view = "Click the 'View' button to see the output.\n\n", at = " grids to " + page;
  const std::string letter = "Print on 8.5x11 sheet in ", color = " to a color printer.\n\n";
  SettingsRecord tabloid = record_for(1);
  tabloid.color_option = 0;
  tabloid.map_columns = 6;
  GenerateRequest no_view = request_for(listing, page, "EMxx");
  no_view.mention_view_button = false;
  GenerateResult result = generate(tabloid, no_view);
  EXPECT_EQ(result.message, "Wrote  123" + at + "\n\nPrint on 11x17 sheet in Landscape mode\n\n");
  EXPECT_EQ(result.ffma_count, 45);
  // A long page path: the summary whole, the record's buffer what fits in
  // 255 bytes, leaving out whole a character cut in two.
  const std::string wrote = "Wrote  123 grids to " + folder.path() + "/";
  const struct {
    std::string name;     // ends the page's folder
    std::size_t inside;   // of its bytes, before the message's 255th
    std::size_t dropped;  // bytes of a character cut in two
  } cuts[] = {{"東京", 1, 1}, {"東京", 2, 2}, {"Пётр", 2, 0}, {"Mañana", 3, 1}, {"QTH📻", 6, 3}, {"b", 80, 0}};
  for (const auto& c : cuts) {
    const std::string page_folder = folder / (std::string(255 - wrote.size() - c.inside, 'a') + c.name);
    std::filesystem::create_directories(path_of(page_folder));
    SettingsRecord record = record_for(1);
    GenerateRequest request = request_for(listing, page_folder + "/grids.html", "EM");
    request.field_images_folder = folder / "images";
    const std::string full = "Wrote  123" + at.substr(0, 10) + page_folder + "/grids.html\n\n" +
                             view + letter + "Landscape mode" + color;
    SCOPED_TRACE(c.name + " " + std::to_string(c.inside));
    EXPECT_EQ(generate(record, request).message, full);
    EXPECT_EQ(record.message, full.substr(0, 255 - c.dropped));
    EXPECT_EQ(read_file(page_folder + "/images/EM.gif"), "M");
  }
}

// A failed run says why and leaves the old page.
// In a long folder: every message whole, the record's buffer what fits.
TEST(Generate, FailuresLeaveTheOldPageAndNoTemporaryFile) {
  test::ScratchFolder scratch;
  const std::string folder = scratch / std::string(200, 'l'), good = "Grid,2M\nFN42,W\n";
  const std::string listing = folder + "/grids.csv", page = folder + "/grids.html";
  const std::string no_match = "ERROR: No match found for band 2 M (144 MHz) in " + listing + "\n\n";
  const struct {
    std::string listing_text, input, output, message;
  } cases[] = {
      {"Grid,2M\n", listing, page, "Read     0 worked grids from " + listing + "\n"},
      {"Grid,6M\nFN42,W\n", listing, page, no_match},
      {good, folder, page, "ERROR: Could not open input file " + folder},
      {std::string(4096, '\0'), listing, page, "ERROR: Unrecognized format of input file " + listing + "\nThe "
       "first line must be the header: it begins with Grid or Prefix, then one label per band (see --help).\nHere "
       "the first field is '????????????????...'; it must be Grid or Prefix."},
      {"Grid,2M\nAA00,W\n", listing, page, "Wrote    0 grids to " + page},  // off the map: still a page
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message.substr(0, 60));
    write_file(listing, c.listing_text);
    write_file(page, "old page");
    SettingsRecord record = record_for(1);
    std::strcpy(record.lower_left_field, "EMEMEMM");  // as a foreign settings file may leave it
    GenerateResult result = generate(record, request_for(c.input, c.output, "FN42"));
    EXPECT_EQ(record.message, result.message.substr(0, 255));
    EXPECT_STREQ(record.lower_left_field, "FN");  // kept from the run that got past the checks
    EXPECT_EQ(test::names_in(folder), (Names{"grids.csv", "grids.html"}));
    const bool wrote = c.message.starts_with("Wrote ");
    EXPECT_EQ(result.status, wrote ? GenerateStatus::kWritten : GenerateStatus::kFailed);
    EXPECT_EQ(result.message.substr(0, wrote ? c.message.size() : std::string::npos), c.message);
    EXPECT_EQ(read_file(page) == "old page", !wrote);
  }
}

}  // namespace
}  // namespace zelk

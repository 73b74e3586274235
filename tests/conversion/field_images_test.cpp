// Generate puts the field images a page names beside the page, adding only
// the missing ones, each whole: a picture already there is never replaced.
#include "conversion/field_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "../scratch_folder.h"
#include "conversion/generate.h"

namespace zelk {
namespace {

namespace fs = std::filesystem;

SettingsRecord map_of(const char* lower_left, int columns, int rows) {
  SettingsRecord record;
  reset_to_defaults(record);
  record.lower_left_field[0] = lower_left[0];
  record.lower_left_field[1] = lower_left[1];
  record.map_columns = columns;
  record.map_rows = rows;
  return record;
}

// A program's images/ folder with the pictures of fields EM to HP.
fs::path program_images(const test::ScratchFolder& scratch) {
  const fs::path folder = fs::path(scratch.path()) / "program" / "images";
  fs::create_directories(folder);
  for (char lon = 'E'; lon <= 'H'; ++lon)
    for (char lat = 'M'; lat <= 'P'; ++lat)
      test::write_file((folder / (std::string{lon, lat} + ".gif")).string(), std::string("GIF89a ") + lon + lat);
  return folder;
}

std::vector<std::string> names_in(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FieldImageNames, ColumnBySouthToNorthAsTheStyleBlockNamesThem) {
  EXPECT_EQ(field_image_names(map_of("EM", 2, 3)),
            std::vector<std::string>({"EM.gif", "EN.gif", "EO.gif", "FM.gif", "FN.gif", "FO.gif"}));
  EXPECT_EQ(field_image_names(map_of("RQ", 2, 2)), std::vector<std::string>({"RQ.gif", "RR.gif", "SQ.gif", "SR.gif"}));
  EXPECT_EQ(field_image_names(map_of("YA", 4, 1)), std::vector<std::string>({"YA.gif", "ZA.gif"})) << "past Z";
  EXPECT_TRUE(field_image_names(map_of("FN", 0, 0)).empty());
}

TEST(AddMissingFieldImages, AddsOnlyWhatIsMissingAndKeepsWhatIsThere) {
  test::ScratchFolder scratch;
  const fs::path program = program_images(scratch);
  const fs::path page = fs::path(scratch.path()) / "maps" / "grids.html";
  fs::create_directories(page.parent_path() / "images");
  test::write_file((page.parent_path() / "images" / "FN.gif").string(), "my own FN");

  const SettingsRecord record = map_of("EM", 4, 3);
  FieldImageCopy copy = add_missing_field_images(record, program, page);
  EXPECT_EQ(copy.added, 11);
  EXPECT_EQ(copy.failed, 0);
  EXPECT_EQ(names_in(page.parent_path() / "images"), field_image_names(record)) << "no half-made copies left";
  EXPECT_EQ(test::read_file((page.parent_path() / "images" / "FN.gif").string()), "my own FN");
  EXPECT_EQ(test::read_file((page.parent_path() / "images" / "HO.gif").string()), "GIF89a HO");

  // Missing in the program too, or no folder possible: counted, not thrown.
  copy = add_missing_field_images(map_of("HO", 2, 1), program, page);
  EXPECT_TRUE(copy.added == 0 && copy.failed == 1) << "IO.gif";
  const fs::path blocked = fs::path(scratch.path()) / "blocked" / "page.html";
  fs::create_directories(blocked.parent_path());
  test::write_file((blocked.parent_path() / "images").string(), "a file");
  copy = add_missing_field_images(record, program, blocked);
  EXPECT_TRUE(copy.added == 0 && copy.failed == 12);
}

TEST(AddMissingFieldImages, GenerateBringsThePicturesAlongWithThePage) {
  test::ScratchFolder scratch;
  const fs::path program = program_images(scratch);
  test::write_file(scratch / "grids.csv", "Grid,6M,2M\nFN42,,C\n");
  for (const char* folder : {"out", "bare", "refused"}) fs::create_directories(fs::path(scratch.path()) / folder);
  SettingsRecord record = map_of("FN", 4, 3);
  record.band_index = 1;
  GenerateRequest request;
  request.has_input_file = true;
  request.input_path = scratch / "grids.csv";
  request.output_path = scratch / "out/grids.html";
  request.ll_field_text = "EM";
  request.field_images_folder = program.string();
  ASSERT_EQ(generate(record, request).status, GenerateStatus::kWritten);
  EXPECT_EQ(names_in(scratch / "out/images").size(), 12u);
  EXPECT_EQ(test::read_file(scratch / "out/images/HO.gif"), "GIF89a HO");

  request.output_path = scratch / "refused/grids.html";
  request.ll_field_text = "ZZ";
  ASSERT_EQ(generate(record, request).status, GenerateStatus::kRefused);
  request.output_path = scratch / "bare/grids.html";
  request.ll_field_text = "EM";
  request.field_images_folder.clear();
  ASSERT_EQ(generate(record, request).status, GenerateStatus::kWritten);
  EXPECT_FALSE(fs::exists(scratch / "refused/images") || fs::exists(scratch / "bare/images"));
}

}  // namespace
}  // namespace zelk

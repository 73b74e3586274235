// Generate puts the field images a page names beside the page, adding only
// the missing ones: a picture the user put there is never replaced.
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

// A program folder's images/ with a picture for every field from AA to WU.
void fill_program_images(const fs::path& folder) {
  fs::create_directories(folder);
  for (char lon = 'A'; lon <= 'W'; ++lon)
    for (char lat = 'A'; lat <= 'U'; ++lat)
      test::write_file((folder / (std::string{lon, lat} + ".gif")).string(), std::string("GIF89a ") + lon + lat);
}

TEST(FieldImageNames, ColumnBySouthToNorthAsTheStyleBlockNamesThem) {
  struct Case {
    const char* id;
    SettingsRecord record;
    std::vector<std::string> names;
  } cases[] = {
      {"landscape from EM", map_of("EM", 4, 3),
       {"EM.gif", "EN.gif", "EO.gif", "FM.gif", "FN.gif", "FO.gif", "GM.gif", "GN.gif", "GO.gif", "HM.gif", "HN.gif",
        "HO.gif"}},
      {"past R", map_of("RQ", 2, 4), {"RQ.gif", "RR.gif", "RS.gif", "RT.gif", "SQ.gif", "SR.gif", "SS.gif", "ST.gif"}},
      {"past Z no file names", map_of("YA", 4, 1), {"YA.gif", "ZA.gif"}},
      {"no map", map_of("FN", 0, 0), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(field_image_names(c.record), c.names) << c.id;
}

TEST(AddMissingFieldImages, AddsOnlyWhatIsMissingAndKeepsTheUsersPictures) {
  test::ScratchFolder scratch;
  const fs::path program = fs::path(scratch.path()) / "program" / "images";
  fill_program_images(program);
  const fs::path page = fs::path(scratch.path()) / "maps" / "grids.html";
  fs::create_directories(page.parent_path() / "images");
  test::write_file((page.parent_path() / "images" / "FN.gif").string(), "my own FN");

  const SettingsRecord record = map_of("EM", 4, 3);
  FieldImageCopy copy = add_missing_field_images(record, program, page);
  EXPECT_EQ(copy.added, 11);
  EXPECT_EQ(copy.failed, 0);
  EXPECT_EQ(test::read_file((page.parent_path() / "images" / "FN.gif").string()), "my own FN");
  EXPECT_EQ(test::read_file((page.parent_path() / "images" / "HO.gif").string()), "GIF89a HO");
  std::vector<std::string> beside;
  for (const auto& entry : fs::directory_iterator(page.parent_path() / "images"))
    beside.push_back(entry.path().filename().string());
  std::sort(beside.begin(), beside.end());
  EXPECT_EQ(beside, field_image_names(record)) << "the map's fields only, no half-made copies";

  test::write_file((page.parent_path() / "images" / "EM.gif").string(), "changed by the user");
  copy = add_missing_field_images(record, program, page);
  EXPECT_EQ(copy.added, 0);
  EXPECT_EQ(copy.failed, 0);
  EXPECT_EQ(test::read_file((page.parent_path() / "images" / "EM.gif").string()), "changed by the user");
}

TEST(AddMissingFieldImages, FailuresAreCountedNotThrown) {
  test::ScratchFolder scratch;
  const fs::path program = fs::path(scratch.path()) / "images";
  fs::create_directories(program);
  test::write_file((program / "FN.gif").string(), "GIF89a FN");

  // Pictures the program lacks.
  const fs::path page = fs::path(scratch.path()) / "a" / "page.html";
  fs::create_directories(page.parent_path());
  FieldImageCopy copy = add_missing_field_images(map_of("FN", 1, 2), program, page);
  EXPECT_EQ(copy.added, 1);
  EXPECT_EQ(copy.failed, 1);

  // images beside the page is a file, so no folder can be made there.
  const fs::path blocked = fs::path(scratch.path()) / "b" / "page.html";
  fs::create_directories(blocked.parent_path());
  test::write_file((blocked.parent_path() / "images").string(), "not a folder");
  copy = add_missing_field_images(map_of("FN", 1, 1), program, blocked);
  EXPECT_EQ(copy.added, 0);
  EXPECT_EQ(copy.failed, 1);
  EXPECT_EQ(test::read_file((blocked.parent_path() / "images").string()), "not a folder");

  // The page in the program's own folder: everything is already there.
  copy = add_missing_field_images(map_of("FN", 1, 1), program, fs::path(scratch.path()) / "page.html");
  EXPECT_EQ(copy.added, 0);
  EXPECT_EQ(copy.failed, 0);
}

TEST(AddMissingFieldImages, GenerateBringsThePicturesAlongWithThePage) {
  test::ScratchFolder scratch;
  const fs::path program = fs::path(scratch.path()) / "program" / "images";
  fill_program_images(program);
  test::write_file(scratch / "grids.csv", "Grid,6M,2M\nFN42,,C\n");

  SettingsRecord record = map_of("FN", 4, 3);
  record.band_index = 1;
  GenerateRequest request;
  request.has_input_file = true;
  request.input_path = scratch / "grids.csv";
  request.output_path = scratch / "out/grids.html";
  request.ll_field_text = "EM";
  fs::create_directories(scratch.path() + "/out");
  request.field_images_folder = program.string();
  ASSERT_EQ(generate(record, request).status, GenerateStatus::kWritten);
  EXPECT_EQ(test::read_file(scratch / "out/images/EM.gif"), "GIF89a EM");
  EXPECT_EQ(test::read_file(scratch / "out/images/HO.gif"), "GIF89a HO");

  // Without a folder to take them from, Generate leaves the page alone.
  request.output_path = scratch / "bare/grids.html";
  request.field_images_folder.clear();
  fs::create_directories(scratch.path() + "/bare");
  ASSERT_EQ(generate(record, request).status, GenerateStatus::kWritten);
  EXPECT_FALSE(fs::exists(scratch.path() + "/bare/images"));

  // A refused Generate copies nothing.
  request.output_path = scratch / "refused/grids.html";
  request.field_images_folder = program.string();
  request.ll_field_text = "ZZ";
  fs::create_directories(scratch.path() + "/refused");
  ASSERT_EQ(generate(record, request).status, GenerateStatus::kRefused);
  EXPECT_FALSE(fs::exists(scratch.path() + "/refused/images"));
}

}  // namespace
}  // namespace zelk

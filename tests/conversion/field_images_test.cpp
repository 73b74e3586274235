// The field images a page names, put beside it: only the missing ones.
#include "conversion/field_images.h"

#include <gtest/gtest.h>

#include "test_helpers.h"

namespace zelk {
namespace {

using Names = std::vector<std::string>;

SettingsRecord map_of(const char* lower_left, int columns, int rows) {
  SettingsRecord record = test::record_for(1, lower_left);
  record.map_columns = columns;
  record.map_rows = rows;
  return record;
}

// Column by column from the south, as the style block names them; past Z none.
TEST(FieldImages, NamesAndCopiesWhatIsMissingAndCountsWhatIsNot) {
  EXPECT_EQ(field_image_names(map_of("EM", 2, 3)),
            (Names{"EM.gif", "EN.gif", "EO.gif", "FM.gif", "FN.gif", "FO.gif"}));
  EXPECT_EQ(field_image_names(map_of("YA", 4, 1)), (Names{"YA.gif", "ZA.gif"}));
  test::ScratchFolder scratch;
  // One byte each: the last read of a copy may be a single byte.
  for (const std::string name : {"EM", "EN", "FM"})
    test::write_file(scratch / ("program/" + name + ".gif"), name.substr(1));
  const std::string program = scratch / "program";
  FieldImageCopy copy =
      add_missing_field_images(map_of("EM", 2, 2), program, scratch / "maps/grids.html");
  EXPECT_EQ(copy.added, 3);
  EXPECT_EQ(copy.failed, 1) << "FN.gif is missing in the program too";
  EXPECT_EQ(copy.problem, "") << "a picture missing from the program is no problem";
  EXPECT_EQ(test::read_file(scratch / "maps/images/FM.gif"), "M");
}

}  // namespace
}  // namespace zelk

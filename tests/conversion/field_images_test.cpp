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

// Column by column from the south, as the style block names them; past Z
// none. Which of them are copied is the file-fault test's.
TEST(FieldImages, NamesColumnByColumnUpToZ) {
  EXPECT_EQ(field_image_names(map_of("EM", 2, 3)),
            (Names{"EM.gif", "EN.gif", "EO.gif", "FM.gif", "FN.gif", "FO.gif"}));
  EXPECT_EQ(field_image_names(map_of("YA", 4, 1)), (Names{"YA.gif", "ZA.gif"}));
}

}  // namespace
}  // namespace zelk

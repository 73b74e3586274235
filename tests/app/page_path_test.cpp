// The page's file name follows the listing's: only the last extension goes.
#include "app/page_path.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(PagePath, FileNameAndPageName) {
  struct Case {
    const char *chosen, *file_name, *page_name;
  } cases[] = {
      {"/logs/grids.csv", "grids.csv", "grids.html"},     {"/logs/my.grids.csv", "my.grids.csv", "my.grids.html"},
      {"/logs/grids", "grids", "grids.html"},             {"/home/op/v1.2/grids", "grids", "grids.html"},
      {"/logs/grids.", "grids.", "grids.html"},           {"grids.csv", "grids.csv", "grids.html"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(file_name_of(c.chosen), c.file_name) << c.chosen;
    EXPECT_EQ(page_name_for(file_name_of(c.chosen)), c.page_name) << c.chosen;
  }
}

}  // namespace
}  // namespace zelk

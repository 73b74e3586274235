// A page's name follows its listing's: only the last extension goes.
#include "conversion/file_paths.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(FilePaths, FolderFileNameAndPageName) {
  struct Case {
    const char *chosen, *folder, *page_name;
  } cases[] = {
      {"/logs/grids.csv", "/logs/", "grids.html"},     {"/logs/my.grids.csv", "/logs/", "my.grids.html"},
      {"/home/op/v1.2/grids", "/home/op/v1.2/", "grids.html"}, {"/logs/grids.", "/logs/", "grids.html"},
      {"grids.csv", "", "grids.html"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(folder_of(c.chosen) + file_name_of(c.chosen), c.chosen);
    EXPECT_EQ(folder_of(c.chosen), c.folder) << c.chosen;
    EXPECT_EQ(page_name_for(file_name_of(c.chosen)), c.page_name) << c.chosen;
  }
  EXPECT_EQ(page_name_for("my.grids.csv", "-144"), "my.grids-144.html");
}

}  // namespace
}  // namespace zelk

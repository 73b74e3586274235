// A page's name follows its listing's: only the last extension goes.
#include "conversion/file_paths.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(FilePaths, FolderFileNameAndPageName) {
  for (auto [path, folder, page] : {std::tuple{"/logs/my.grids.csv", "/logs/", "my.grids.html"},
                                    {"/home/op/v1.2/grids", "/home/op/v1.2/", "grids.html"},
                                    {"/logs/grids.", "/logs/", "grids.html"}, {"grids.csv", "", "grids.html"}}) {
    EXPECT_EQ(folder_of(path) + file_name_of(path), path);
    EXPECT_EQ(folder_of(path), folder) << path;
    EXPECT_EQ(page_name_for(file_name_of(path)), page) << path;
  }
  EXPECT_EQ(page_name_for("grids.csv", "-144"), "grids-144.html");
}

}  // namespace
}  // namespace zelk

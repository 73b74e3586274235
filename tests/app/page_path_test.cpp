// The page's file name follows the listing's: only the last extension goes.
#include "app/page_path.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

struct PathCase {
  const char* id;
  const char* chosen;
  const char* file_name;
  const char* page_name;
};

constexpr PathCase kCases[] = {
    {"plain", "/logs/grids.csv", "grids.csv", "grids.html"},
    {"two dots", "/logs/my.grids.csv", "my.grids.csv", "my.grids.html"},
    {"no extension", "/logs/grids", "grids", "grids.html"},
    {"dot in folder only", "/home/op/v1.2/grids", "grids", "grids.html"},
    {"trailing dot", "/logs/grids.", "grids.", "grids.html"},
    {"no folder", "grids.csv", "grids.csv", "grids.html"},
};

TEST(PagePath, FileNameAndPageName) {
  for (const PathCase& c : kCases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(file_name_of(c.chosen), c.file_name);
    EXPECT_EQ(page_name_for(file_name_of(c.chosen)), c.page_name);
  }
}

}  // namespace
}  // namespace zelk

// Replacing a file only once its new content is complete.
#include "conversion/file_replace.h"

#include <string>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace zelk {
namespace {

using test::read_file;
using test::ScratchFolder;
using test::write_file;

TEST(ReplacementFile, TargetChangesOnlyOnCommit) {
  ScratchFolder folder;
  const std::string target = folder / "page.html";
  write_file(target, "old");
  {
    ReplacementFile file(target, "w");
    ASSERT_NE(file.stream(), nullptr);
    std::fputs("abandoned", file.stream());
  }
  EXPECT_EQ(read_file(target), "old");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"page.html"});
  {
    ReplacementFile file(target, "wb");
    std::fputs("new", file.stream());
    EXPECT_EQ(read_file(target), "old");
    EXPECT_TRUE(file.commit());
  }
  EXPECT_EQ(read_file(target), "new");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"page.html"});
}

TEST(ReplacementFile, NoTemporaryFileMeansNoStreamAndNoCommit) {
  ScratchFolder folder;
  const std::string long_name = folder / std::string(252, 'n');  // its temporary name would not fit
  write_file(long_name, "old");
  for (const std::string& target : {long_name, folder / "missing/page.html", folder.path()}) {
    ReplacementFile file(target, "w");
    EXPECT_EQ(file.stream(), nullptr) << target;
    EXPECT_FALSE(file.commit()) << target;
  }
  EXPECT_EQ(read_file(long_name), "old");
  EXPECT_EQ(folder.names().size(), 1u);
}

}  // namespace
}  // namespace zelk

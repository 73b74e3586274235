// The map page: whole pages against goldens, and the squares' classes and counts.
#include "mappage/map_page.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "scratch_folder.h"

namespace zelk {
namespace {

using test::read_file;

// Each line of pages.txt: page name, SOURCE_DATE_EPOCH, then the CLI's
// arguments after the listing. tests/golden/regenerate.sh reads the same file.
TEST(MapPage, GoldenPages) {
  const std::string golden = ZELK_TEST_DATA "/golden/";
  std::istringstream pages(read_file(golden + "pages.txt"));
  test::ScratchFolder folder;
  int compared = 0;
  for (std::string line; std::getline(pages, line);) {
    std::istringstream words(line);
    std::string page, epoch, word;
    if (!(words >> page >> epoch) || page[0] == '#') continue;
    std::vector<std::string> args = {golden + "grids.csv", "-o", folder / page};
    while (words >> word) args.push_back(word);
    std::ostringstream out, err;
    CliEnvironment environment;
    environment.source_date_epoch = epoch;
    ASSERT_EQ(cli_main(args, out, err, environment), 0) << page << ": " << err.str();
    EXPECT_TRUE(read_file(folder / page, std::ios::in) == read_file(golden + page))
        << page << " differs from its golden; tests/golden/regenerate.sh rewrites them";
    ++compared;
  }
  EXPECT_GE(compared, 4);
}

struct Page {
  int credited;
  std::string text;
};

Page write_page(const std::string& listing, SettingsRecord& record, int& ffma_count) {
  std::FILE* in = test::stream_of(listing);
  std::FILE* out = std::tmpfile();
  Page page{write_map_page(in, "L.csv", out, ffma_count, record, 0), ""};
  page.text = test::contents_of(out);
  std::fclose(in);
  std::fclose(out);
  return page;
}

// The goldens show the squares' classes; the counts reach the caller only.
TEST(MapPage, CountsCreditedSquaresAndAddsFfmaOnesToTheCounter) {
  // The field FN alone: a map the dialog does not offer, but the writer draws.
  SettingsRecord record = test::record_for(1, "FN");
  record.map_columns = record.map_rows = 1;
  int ffma_count = 10;  // the writer adds to it and never resets it
  Page page = write_page("Grid,2M\nFN42,C\nFN47,W\nFN48,c\nEN00,W\n", record, ffma_count);
  EXPECT_EQ(page.credited, 2);
  EXPECT_EQ(ffma_count, 11);  // FN42; FN47 is outside the set, EN00 off the map
  EXPECT_STREQ(record.message, "Read     4 worked grids from L.csv\n");

  ffma_count = 3;
  page = write_page("Grid,2M\nFN42,,W\n", record, ffma_count);
  EXPECT_EQ(page.credited, -1);
  EXPECT_EQ(page.text, "");
  EXPECT_EQ(ffma_count, 3);
  EXPECT_STREQ(record.message, "Read     0 worked grids from L.csv\n");
}

}  // namespace
}  // namespace zelk

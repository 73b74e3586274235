// The map page: whole pages against goldens, and the squares' classes and counts.
#include "mappage/map_page.h"

#include <cstdio>
#include <cstring>
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
  EXPECT_EQ(compared, 4);
}

struct Page {
  int credited;
  std::string text;
};

Page write_page(const std::string& listing, SettingsRecord& record, int& ffma_count) {
  std::FILE* in = std::tmpfile();
  std::fputs(listing.c_str(), in);
  std::rewind(in);
  std::FILE* out = std::tmpfile();
  Page page{write_map_page(in, "L.csv", out, ffma_count, record, 0), ""};
  page.text.resize(static_cast<std::size_t>(std::ftell(out)));
  std::rewind(out);
  page.text.resize(std::fread(page.text.data(), 1, page.text.size(), out));
  std::fclose(in);
  std::fclose(out);
  return page;
}

SettingsRecord one_field_map(const char* field) {
  SettingsRecord record;
  reset_to_defaults(record);
  record.band_index = 1;
  std::strcpy(record.lower_left_field, field);
  record.map_columns = record.map_rows = 1;
  return record;
}

std::string cell(const char* classes, const char* digits) {
  return std::string("\t\t\t\t\t<td class='") + classes + "'>" + digits + "</td>\n";
}

TEST(MapPage, StatusLettersBorderClassesAndCounts) {
  const std::string listing =
      "Grid,2M\nFN42,C\nFN43,S\nFN44,*\nFN45,L\nFN46,M\nFN47,W\nFN48,c\nFN49,N\n"
      "fn40,W\nFN40AB,W\nFN41,w\nFN44,W\nEN00,W\n";
  struct Case {
    int ffma, s_checked;
    std::vector<std::pair<const char*, const char*>> cells;  // classes, digits
  };
  const Case cases[] = {
      {1, 0, {{"confirmed E", "42"}, {"confirmed none", "43"}, {"checked none", "44"}, {"worked none", "45"},
              {"worked none", "46"}, {"worked SE", "47"}, {"unworked none", "48"}, {"unworked none", "49"},
              {"unworked none", "40"}, {"unworked S", "41"}}},
      {0, 1, {{"confirmed none", "42"}, {"checked none", "43"}, {"worked none", "47"}, {"unworked none", "41"}}},
  };
  for (const Case& c : cases) {
    SettingsRecord record = one_field_map("FN");
    record.ffma_option = c.ffma;
    record.submitted_as_checked_option = c.s_checked;
    int ffma_count = 10;  // the writer adds, it never resets
    Page page = write_page(listing, record, ffma_count);
    EXPECT_EQ(page.credited, 6);
    EXPECT_EQ(ffma_count, 15);  // FN42..FN46; FN47 and EN00 (off the map) are no FFMA credit
    for (auto [classes, digits] : c.cells) EXPECT_NE(page.text.find(cell(classes, digits)), std::string::npos) << digits;
    EXPECT_STREQ(record.message, "Read    13 worked grids from L.csv\n");
  }
}

TEST(MapPage, OneFieldMapAndAFailedListing) {
  SettingsRecord record = one_field_map("RR");
  int ffma_count = 0;
  Page page = write_page("Grid,2M\nRR00,W\nRR09,C\n", record, ffma_count);
  EXPECT_EQ(page.credited, 2);
  EXPECT_EQ(page.text.rfind("<html>\n<head>\n<title>ZELK Grid Map for 2 M (144 MHz) (RR to RR) - 01 January 1970</title>\n"
                            "<style type='text/css'>\n", 0),
            0u);
  EXPECT_NE(page.text.find("</head>\n<body>\n<font face='Courier New'>\n<table cellpadding='0'>\n\t<tr>\n"
                           "\t\t<td class='RR'>\n\t\t\t<table>\n\t\t\t\t<tr>\n" + cell("confirmed none", "09") +
                           cell("unworked none", "19")),
            std::string::npos);
  EXPECT_NE(page.text.find(cell("unworked none", "90") + "\t\t\t\t</tr>\n\t\t\t</table>\n\t\t</td>\n\t</tr>\n"
                           "</table>\n<p></p>\n"),
            std::string::npos);
  EXPECT_EQ(page.text.substr(page.text.size() - 38), "</tr></table>\n</font>\n</body>\n</html>\n");

  record = one_field_map("FN");
  ffma_count = 3;
  page = write_page("Grid,2M\nFN42,,W\n", record, ffma_count);
  EXPECT_EQ(page.credited, -1);
  EXPECT_EQ(page.text, "");
  EXPECT_EQ(ffma_count, 3);
  EXPECT_STREQ(record.message, "Read     0 worked grids from L.csv\n");
}

}  // namespace
}  // namespace zelk

// The map page: whole pages against goldens, the style and date choices
// they do not show, and every band's totals.
#include "mappage/band_totals.h"
#include "mappage/map_page.h"
#include "mappage/page_date.h"
#include "mappage/style_sheet.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "test_helpers.h"

namespace zelk {
namespace {

using test::read_file;

// Each line of pages.txt: page name, SOURCE_DATE_EPOCH, then the CLI's
// arguments after the listing, as tests/golden/regenerate.sh reads them.
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

TEST(StyleSheet, OptionsTransformTheBaseTables) {
  struct Case {
    int color, bold, needed, c_checked;
    const char* looks;  // unworked, worked, confirmed, checked; "+" is bold
  };
  for (Case c : {Case{1, 0, 1, 1, "Black Red Gray Gray"},
                 Case{1, 1, 1, 0, "Black+ Red+ Green+ Gray"},
                 Case{1, 0, 0, 0, "Gray Red Green Black"},
                 Case{1, 1, 0, 1, "Gray Red+ Black+ Black+"},
                 Case{0, 1, 1, 1, "Black+ Gray+ Gray Gray"},
                 Case{0, 0, 0, 0, "Gray Gray+ Black Black+"},
                 Case{0, 0, 0, 1, "Gray Gray+ Black+ Black+"}}) {
    SettingsRecord record = test::record_for(-1);
    record.color_option = c.color, record.bold_option = c.bold;
    record.emphasize_needed_option = c.needed, record.confirmed_as_checked_option = c.c_checked;
    StatusStyleTable table;
    fill_status_styles(table, record);
    std::string looks;
    for (const StatusStyle& style : table.styles)
      looks += std::string(looks.empty() ? "" : " ") + style.color_word + (style.bold == 1 ? "+" : "");
    EXPECT_EQ(looks, c.looks) << c.color << c.bold << c.needed << c.c_checked;
  }
}

TEST(PageDate, UtcDayMonthNameAndYear) {
  for (auto [instant, expected] : {std::pair<std::time_t, const char*>{0, "01 January 1970"}, {-1, "31 December 1969"},
                                   {951782400, "29 February 2000"}, {2147483648, "19 January 2038"},
                                   {-2203891200, "01 March 1900"}})
    EXPECT_EQ(page_date_text(instant), expected) << instant;
}

// Repeats keep their first row's letter, blank cells name no grid, lower-case
// letters credit nothing, and grids no map shows are counted apart.
TEST(BandTotals, HandMadeListingCountedByHand) {
  test::ScratchFolder folder;
  test::write_file(folder / "g.csv",
                   "Grid,6M,2M\n"
                   "FN42,C,W\n"
                   "FN42,W,S\n"
                   "fn43,C,C\n"
                   "FN44AB,W,\n"
                   "EM10,c,\n"
                   "EM11,,S\n"
                   "EM11,*,\n"
                   ",W,W\n"
                   "SA00,L,*\n"
                   "ZZ00,M,m\n"
                   "JJ00,W,\n");
  struct Case {
    int band, s_checked;
    const char* counts;  // checked confirmed worked, total, FFMA, not on a map
  };
  for (Case c : {Case{0, 0, "1 1 2, 4, 2, 3"}, Case{1, 0, "1 1 1, 3, 2, 1"}, Case{1, 1, "2 0 1, 3, 2, 1"},
                 Case{5, 0, "0 0 0, 0, 0, 0"}}) {
    SettingsRecord record = test::record_for(c.band);
    record.submitted_as_checked_option = c.s_checked;
    const BandTotals t = read_band_totals(folder / "g.csv", record);
    char counts[64];
    std::snprintf(counts, sizeof counts, "%d %d %d, %d, %d, %d", t.checked, t.confirmed, t.worked, t.credited(), t.ffma,
                  t.off_map);
    EXPECT_EQ(counts, std::string(c.counts)) << c.band << " " << c.s_checked;
    EXPECT_EQ(t.band_index, c.band);
  }
  for (auto [grid, shown] : {std::pair{"AA00", true}, {"WU99", true}, {"XA00", false}, {"AV00", false}, {"FN4", false},
                             {"FNA2", false}, {"F N42", false}})
    EXPECT_EQ(on_some_map(grid), shown) << grid;
}

}  // namespace
}  // namespace zelk

// The map page: whole pages against goldens, and the style and date choices
// they do not show.
#include "mappage/band_totals.h"
#include "mappage/page_date.h"
#include "mappage/style_sheet.h"

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
  // The goldens show the defaults, --no-needed with --no-c-checked, and --no-color.
  for (Case c : {Case{1, 0, 1, 1, "Black Red Gray Gray"},
                 Case{1, 1, 1, 0, "Black+ Red+ Green+ Gray"},
                 Case{1, 1, 0, 1, "Gray Red+ Black+ Black+"},
                 Case{0, 0, 0, 0, "Gray Gray+ Black Black+"}}) {
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
                                   {-2203891200, "01 March 1900"}, {1774915200, "31 March 2026"}})
    EXPECT_EQ(page_date_text(instant), expected) << instant;
}

}  // namespace
}  // namespace zelk

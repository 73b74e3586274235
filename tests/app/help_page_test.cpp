// The help page's example listing, converted for each of its bands, credits
// its squares as the page's status table says.
#include <map>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "listing/band_table.h"
#include "test_helpers.h"

namespace zelk {
namespace {

TEST(HelpPage, ExampleListingGivesTheStatusesOfItsTable) {
  const std::string page = test::read_file(ZELK_HELP_PAGE);
  std::smatch example;
  ASSERT_TRUE(std::regex_search(page, example, std::regex("<pre>(Grid,[^<]*)</pre>")));
  // Status letter -> the first word of what its square is: a class of the map's cells.
  std::map<char, std::string> promised;
  const std::regex row("<tr><td>(<code>.*?)</td><td>.*?</td><td>(\\w+)");
  for (std::sregex_iterator r(page.begin(), page.end(), row), end; r != end; ++r)
    for (std::size_t at = 0; (at = r->str(1).find("<code>", at)) != std::string::npos; at += 6)
      promised[r->str(1)[at + 6]] = r->str(2);
  ASSERT_EQ(promised.size(), 6u);
  test::ScratchFolder folder;
  test::write_file(folder / "example.csv", example[1]);
  std::vector<std::vector<std::string>> lines;  // cells, empty ones included
  std::istringstream listing(example[1]);
  for (std::string line, cell; std::getline(listing, line);) {
    lines.emplace_back();
    for (std::istringstream cells(line + ","); std::getline(cells, cell, ',');) lines.back().push_back(cell);
  }
  for (std::size_t band = 1; band < lines[0].size(); ++band) {
    std::map<std::string, long> expected;
    for (const auto& cells : lines)
      if (&cells != &lines[0] && !cells[band].empty()) ++expected[promised[cells[band][0]]];
    SettingsRecord record = test::record_for(-1);
    record.band_index = band_from_label(lines[0][band].data(), nullptr, record);
    const std::string map = folder / "example.html";
    ASSERT_EQ(generate(record, test::request_for(folder / "example.csv", map, "EM")).status,
              GenerateStatus::kWritten);
    const std::string cells = test::read_file(map);
    for (std::string square : {"worked", "confirmed", "checked"}) {
      const std::regex cell("<td class='" + square + " ");
      EXPECT_EQ(std::distance(std::sregex_iterator(cells.begin(), cells.end(), cell), {}), expected[square])
          << lines[0][band] << " " << square;
    }
  }
}

}  // namespace
}  // namespace zelk

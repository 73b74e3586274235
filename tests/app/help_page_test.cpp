// The help page's example listing, converted for each of its bands, credits
// each square as the page's status table says it will.
#include <cstring>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "conversion/generate.h"
#include "listing/band_table.h"
#include "scratch_folder.h"

namespace zelk {
namespace {

TEST(HelpPage, ExampleListingGivesTheStatusesOfItsTable) {
  const std::string page = test::read_file(ZELK_HELP_PAGE);
  std::smatch example;
  ASSERT_TRUE(std::regex_search(page, example, std::regex("<pre>(Grid,[^<]*)</pre>")));

  // Status letter -> the class of square its table row names ("not worked" is "unworked").
  std::map<char, std::string> promised;
  const std::regex row("<tr><td>(<code>.*?)</td><td>.*?</td><td>(not )?(\\w+)");
  for (std::sregex_iterator r(page.begin(), page.end(), row), end; r != end; ++r) {
    const std::string letters = (*r)[1];
    const std::string square = (*r)[2].matched ? "unworked" : std::string((*r)[3]);
    for (std::size_t at = letters.find("<code>"); at != std::string::npos; at = letters.find("<code>", at + 1))
      promised[letters[at + 6]] = square;
  }
  ASSERT_EQ(promised.size(), 6u);

  test::ScratchFolder folder;
  test::write_file(folder / "example.csv", example[1]);
  std::istringstream lines(example[1]);
  std::string header, line;
  std::getline(lines, header);
  std::stringstream labels(header.substr(header.find(',') + 1));
  std::string label;
  for (int column = 1; std::getline(labels, label, ','); ++column) {
    SCOPED_TRACE(label);
    // Counts by class of the squares this band's column should give.
    std::map<std::string, int> expected;
    std::istringstream rows(example[1]);
    std::getline(rows, line);
    int credited = 0;
    while (std::getline(rows, line)) {
      std::stringstream cells(line + ",");
      std::string cell;
      for (int c = 0; c <= column; ++c) std::getline(cells, cell, ',');
      if (cell.empty()) continue;
      auto found = promised.find(cell[0]);
      std::string square = found == promised.end() ? "unworked" : found->second;
      if (square != "unworked") ++expected[square], ++credited;
    }

    SettingsRecord record;
    reset_to_defaults(record);
    char band[16] = "";
    std::strncat(band, label.c_str(), sizeof band - 1);
    record.band_index = band_from_label(band, nullptr, record);
    GenerateRequest request;
    request.has_input_file = true;
    request.input_path = folder / "example.csv";
    request.output_path = folder / "example.html";
    request.ll_field_text = "EM";
    GenerateResult result = generate(record, request);
    ASSERT_EQ(result.status, GenerateStatus::kWritten) << result.message;
    EXPECT_EQ(result.credited_count, credited);
    const std::string map = test::read_file(request.output_path);
    for (const char* square : {"worked", "confirmed", "checked"}) {
      const std::string cell = std::string("<td class='") + square + " ";
      int count = 0;
      for (std::size_t at = map.find(cell); at != std::string::npos; at = map.find(cell, at + 1)) ++count;
      EXPECT_EQ(count, expected[square]) << square;
    }
  }
}

}  // namespace
}  // namespace zelk

// Each letter of the help page's status table credits its square as the table says.
#include <regex>

#include <gtest/gtest.h>

#include "test_helpers.h"

namespace zelk {
namespace {

TEST(HelpPage, StatusTableMatchesTheMap) {
  const std::string page = test::read_file(ZELK_HELP_PAGE);
  const std::regex row("<tr><td>(<code>.*?)</td><td>.*?</td><td>(\\w+)");
  test::ScratchFolder folder;
  int letters = 0;
  for (std::sregex_iterator r(page.begin(), page.end(), row), end; r != end; ++r)
    for (std::size_t at = 0; (at = r->str(1).find("<code>", at)) != std::string::npos; at += 6) {
      const char letter = r->str(1)[at + 6];
      test::write_file(folder / "one.csv", std::string("Grid,2M\nEM00,") + letter + "\n");
      SettingsRecord record = test::record_for(1);
      const std::string map = folder / "one.html";
      generate(record, test::request_for(folder / "one.csv", map, "EM"));
      const std::string square = "<td class='" + r->str(2) + " ";
      EXPECT_NE(test::read_file(map).find(square), std::string::npos) << letter;
      ++letters;
    }
  EXPECT_EQ(letters, 6);
}

}  // namespace
}  // namespace zelk

// The page title's date: the UTC calendar day in English.
#include "mappage/page_date.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(PageDate, UtcDayMonthNameAndYear) {
  const std::pair<std::time_t, const char*> cases[] = {
      {0, "01 January 1970"},
      {-1, "31 December 1969"},
      {951782400, "29 February 2000"},
      {1796428799, "04 December 2026"},  // one second before midnight UTC
      {1796428800, "05 December 2026"},
      {2147483648, "19 January 2038"},
      {-2203891200, "01 March 1900"},
  };
  for (auto [instant, expected] : cases) EXPECT_EQ(page_date_text(instant), expected) << instant;
}

}  // namespace
}  // namespace zelk

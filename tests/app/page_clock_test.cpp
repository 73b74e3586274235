// SOURCE_DATE_EPOCH dates the page only when it is a whole number of seconds.
#include "app/page_clock.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(PageClock, SourceDateEpochOrNow) {
  constexpr std::time_t now = 1800000000;
  EXPECT_EQ(page_time_from(nullptr, now), now);
  EXPECT_EQ(page_time_from("1700000000", now), 1700000000);
  EXPECT_EQ(page_time_from("0", now), 0);
  for (const char* ignored : {"", "1700000000x", "yesterday", "17.5"})
    EXPECT_EQ(page_time_from(ignored, now), now) << ignored;
}

}  // namespace
}  // namespace zelk

// SOURCE_DATE_EPOCH dates the page only when it is a whole number of seconds.
#include "app/page_clock.h"

#include <gtest/gtest.h>

namespace zelk {
namespace {

struct ClockCase {
  const char* id;
  const char* variable;  // null: not set
  std::time_t expected;
};

constexpr std::time_t kNow = 1800000000;

constexpr ClockCase kCases[] = {
    {"unset", nullptr, kNow},
    {"empty", "", kNow},
    {"seconds", "1700000000", 1700000000},
    {"zero", "0", 0},
    {"trailing text", "1700000000x", kNow},
    {"not a number", "yesterday", kNow},
    {"fraction", "17.5", kNow},
};

TEST(PageClock, SourceDateEpochOrNow) {
  for (const ClockCase& c : kCases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(page_time_from(c.variable, kNow), c.expected);
  }
}

}  // namespace
}  // namespace zelk

#include "mappage/page_date.h"

#include <cstdio>

namespace zelk {

namespace {

constexpr const char* kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};

// Days since 1970-01-01 to a proleptic Gregorian date (H. Hinnant's algorithm);
// portable and free of the C library's shared gmtime buffer.
void civil_from_days(long long z, long long& year, unsigned& month, unsigned& day) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = doy - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<long long>(yoe) + era * 400 + (month <= 2);
}

}  // namespace

std::string page_date_text(std::time_t instant) {
  long long seconds = static_cast<long long>(instant);
  long long days = seconds / 86400 - (seconds % 86400 < 0 ? 1 : 0);
  long long year = 0;
  unsigned month = 1, day = 1;
  civil_from_days(days, year, month, day);
  char text[32];
  std::snprintf(text, sizeof text, "%02u %s %lld", day, kMonths[month - 1], year);
  return text;
}

}  // namespace zelk

#include "app/page_clock.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace zelk {

std::time_t page_time_now() { return page_time_from(std::getenv("SOURCE_DATE_EPOCH"), std::time(nullptr)); }

std::time_t page_time_from(const char* source_date_epoch, std::time_t now) {
  if (source_date_epoch == nullptr || *source_date_epoch == '\0') return now;
  const char* end = source_date_epoch + std::strlen(source_date_epoch);
  long long seconds = 0;
  auto [stop, ec] = std::from_chars(source_date_epoch, end, seconds);
  // A malformed value cannot be reported from a dialog that has not asked
  // for it; the page is then dated as usual.
  if (ec != std::errc() || stop != end) return now;
  return static_cast<std::time_t>(seconds);
}

}  // namespace zelk

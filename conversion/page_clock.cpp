#include "conversion/page_clock.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace zelk {

std::optional<std::time_t> source_date_epoch(const char* value) {
  if (value == nullptr || *value == '\0') return std::nullopt;
  const char* end = value + std::strlen(value);
  long long seconds = 0;
  auto [stop, ec] = std::from_chars(value, end, seconds);
  if (ec != std::errc() || stop != end) return std::nullopt;
  return static_cast<std::time_t>(seconds);
}

// A malformed value cannot be reported from a dialog that has not asked for
// it; the page is then dated as usual.
std::time_t page_time_now() { return source_date_epoch(std::getenv("SOURCE_DATE_EPOCH")).value_or(std::time(nullptr)); }

}  // namespace zelk

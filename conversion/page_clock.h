// The instant that dates a new page. SOURCE_DATE_EPOCH, when it holds a whole
// number of seconds, stands for "now" so that pages can be reproduced byte for
// byte (tests, packagers).
#pragma once

#include <ctime>
#include <optional>

namespace zelk {

// The variable's seconds; nothing when it is unset, empty or not a whole number.
std::optional<std::time_t> source_date_epoch(const char* value);

// The dialog's clock: the variable, or now when it is unset or malformed.
std::time_t page_time_now();

}  // namespace zelk

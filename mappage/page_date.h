// The date in the page title: the UTC calendar day, "05 December 2026", in
// English whatever the user's locale.
#pragma once

#include <ctime>
#include <string>

namespace zelk {

std::string page_date_text(std::time_t instant);

}  // namespace zelk

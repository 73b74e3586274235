// The instant that dates a new page. SOURCE_DATE_EPOCH, when it holds a whole
// number of seconds, stands for "now" so that pages can be reproduced byte for
// byte (tests, packagers), as the command line does.
#pragma once

#include <ctime>

namespace zelk {

std::time_t page_time_now();

// `source_date_epoch` is the variable's value, or null when it is not set.
std::time_t page_time_from(const char* source_date_epoch, std::time_t now);

}  // namespace zelk

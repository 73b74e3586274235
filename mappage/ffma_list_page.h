// The page of a band's FFMA squares still needed, one printable sheet.
#pragma once

#include <cstdio>
#include <ctime>

#include "ffma/ffma_needs.h"

namespace zelk {

// `page_time` dates it.
void write_ffma_list(std::FILE* out, const FfmaNeeds& needs, int band_index, std::time_t page_time);

}  // namespace zelk

// The contents page: every band's totals beside links to its map page and
// FFMA list, what a grid chaser looks at first.
#pragma once

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "mappage/band_totals.h"

namespace zelk {

// The contents page: one row per band, its caption linking to `page`.
// `listing_name` and the date (of `page_time`) head it.
void write_contents_page(std::FILE* out, const std::string& listing_name, const std::vector<BandTotals>& bands,
                         std::time_t page_time);

}  // namespace zelk

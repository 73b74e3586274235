// Every band's totals and the grids no map shows, as text for a terminal or
// a message box.
#pragma once

#include <string>
#include <vector>

#include "mappage/band_totals.h"

namespace zelk {

// The warning for the credited grids of `bands` that no map can show, with
// the first few; empty when there are none. A listing's "fn42" or " FN42"
// is otherwise counted nowhere but in the contents page.
std::string off_map_warning(const std::string& listing_path, const std::vector<BandTotals>& bands);

// The same table as text in aligned columns, for a terminal.
std::string band_totals_text(const std::vector<BandTotals>& bands);

// One band's row, short enough for a message box's line:
// "2 M (144 MHz): 176 credited, FFMA 96 of 488".
std::string band_totals_line(const BandTotals& band);

}  // namespace zelk

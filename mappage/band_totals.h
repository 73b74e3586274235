// Every band's totals over a whole listing: counted here, shown by the
// contents page (contents_page.h) and as text (conversion/totals_text.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record/settings_record.h"
#include "ffma/ffma_data.h"
#include "listing/grid_index.h"

namespace zelk {

struct BandTotals {
  int band_index = -1;
  // Credited grids a map can show, by the status class the map gives them.
  int checked = 0, confirmed = 0, worked = 0;
  int ffma = 0;  // of those, squares of the FFMA set
  int off_map = 0;  // credited grids that no map can show
  std::string page;  // the band's map page beside the contents page; empty when it has none
  std::string ffma_list;  // its list of the FFMA squares still needed beside it; empty when none
  std::string field;  // the lower-left field its map found for itself; empty when given
  std::vector<std::string> off_map_examples{};  // the first few off-map grids, in listing order
  int credited() const { return checked + confirmed + worked; }
};

// How many off-map grids a band keeps to show in the warning.
inline constexpr std::size_t kOffMapExamples = 3;

// The totals' columns, and one band's cells after its caption, as the
// contents page and the text table both show them.
extern const char* const kTotalsHeadings[7];
std::vector<std::string> totals_cells(const BandTotals& band);

// The totals of several band columns over the grids of one listing at once,
// each grid once with the letter it kept and the record's
// submitted-as-checked option, as the map classes its squares: letters[i][t]
// is column i's letter for node t of `grids`, negative for none. Their band
// indexes are left to the caller.
std::vector<BandTotals> count_column_totals(const GridIndex& grids,
                                           const std::vector<std::vector<std::int16_t>>& letters,
                                           const SettingsRecord& record);

// Of one band's index only off_map and its examples, as count_column_totals
// counts them, for the warning: no FFMA lookups.
BandTotals count_off_map(const GridIndex& index, const SettingsRecord& record);

}  // namespace zelk

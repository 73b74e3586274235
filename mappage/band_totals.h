// Every band's totals over a whole listing, and the contents page that shows
// them beside the band's map pages: what a grid chaser looks at first.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "record/settings_record.h"
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

// True for a grid in the form the map writes its squares in, with field
// letters some map reaches: "FN42", "SA00" (a map from QA runs on past R);
// not "fn42", "FN42AB" or "ZZ00".
bool on_some_map(std::string_view grid);

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

// The contents page: one row per band, its caption linking to `page`.
// `listing_name` and the date (of `page_time`) head it.
void write_contents_page(std::FILE* out, const std::string& listing_name, const std::vector<BandTotals>& bands,
                         std::time_t page_time);

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

#include "mappage/band_totals.h"

#include <algorithm>
#include <array>

#include "ffma/ffma_data.h"
#include "listing/band_table.h"
#include "listing/status.h"
#include "mappage/map_extent.h"

namespace zelk {

const char* const kTotalsHeadings[7] = {"Band", "Checked", "Confirmed", "Worked", "Total", "FFMA", "Written otherwise"};

std::vector<std::string> totals_cells(const BandTotals& band) {
  return {std::to_string(band.checked), std::to_string(band.confirmed), std::to_string(band.worked),
          std::to_string(band.credited()), std::to_string(band.ffma) + " of " + std::to_string(kFfmaSquares),
          std::to_string(band.off_map)};
}

std::vector<BandTotals> count_column_totals(const GridIndex& grids,
                                           const std::vector<std::vector<std::int16_t>>& letters,
                                           const SettingsRecord& record) {
  // Where each status letter counts, as the map classes it: in one of the
  // three counts, or nowhere.
  std::array<int BandTotals::*, 256> counts;
  static constexpr int BandTotals::*kCountOf[] = {nullptr, &BandTotals::worked, &BandTotals::confirmed,
                                                  &BandTotals::checked};
  for (int letter = 0; letter < 256; ++letter)
    counts[letter] = kCountOf[static_cast<int>(status_of(static_cast<char>(letter), record))];
  std::vector<BandTotals> totals(letters.size());
  for (GridIndex::Node t = 1; t <= grids.size(); ++t) {
    const std::string grid = grids.key(t);
    const bool on_map = on_some_map(grid);
    const int ffma = on_map ? ffma_member(grid.c_str()) : 0;
    for (std::size_t i = 0; i < letters.size(); ++i) {
      if (t >= letters[i].size() || letters[i][t] < 0) continue;
      int BandTotals::*count = counts[static_cast<unsigned char>(letters[i][t])];
      if (count == nullptr) continue;
      ++(on_map ? totals[i].*count : totals[i].off_map);
      totals[i].ffma += ffma;
      // Nodes are numbered as the listing's rows first name their grids.
      if (!on_map && totals[i].off_map_examples.size() < kOffMapExamples) totals[i].off_map_examples.push_back(grid);
    }
  }
  return totals;
}

BandTotals count_off_map(const GridIndex& index, const SettingsRecord& record) {
  BandTotals totals;
  for (GridIndex::Node t = 1; t <= index.size(); ++t)
    if (is_credited(status_of(index.status_letter(t), record)) && !on_some_map(index.key(t)) &&
        ++totals.off_map <= static_cast<int>(kOffMapExamples))
      totals.off_map_examples.push_back(index.key(t));
  return totals;
}

}  // namespace zelk

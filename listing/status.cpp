#include "listing/status.h"

#include <array>
#include <vector>

namespace zelk {

Status status_of(char letter, const SettingsRecord& record) {
  switch (letter) {
    case '*': return Status::kChecked;
    case 'C': return Status::kConfirmed;
    case 'S': return record.submitted_as_checked_option == 1 ? Status::kChecked : Status::kConfirmed;
    case 'L':
    case 'M':
    case 'W': return Status::kWorked;
    default: return Status::kUnworked;
  }
}

GridIndex any_band_index(const ListingBands& listing, const SettingsRecord& record) {
  // Every letter's status taken once: a listing of the world has grids by the ten thousand.
  std::array<Status, 256> status;
  for (int letter = 0; letter < 256; ++letter) status[letter] = status_of(static_cast<char>(letter), record);
  std::vector<std::int16_t> best(listing.grids.size() + 1, -1);
  for (GridIndex::Node t = 1; t < best.size(); ++t)
    for (const std::vector<std::int16_t>& column : listing.letters)
      if (t < column.size() && column[t] >= 0 && (best[t] < 0 || status[column[t]] > status[best[t]]))
        best[t] = column[t];
  return listing.grids.with_letters(best, '\0');
}

}  // namespace zelk

// What a status letter means to a map, and the any band's map that is built
// from it: each grid at its best status over every band column.
#pragma once

#include <cstdint>

#include "listing/grid_index.h"
#include "listing/listing_reader.h"
#include "record/settings_record.h"

namespace zelk {

// In rank order: a better status compares greater.
enum class Status : std::uint8_t { kUnworked, kWorked, kConfirmed, kChecked };

// The status of a grid's letter: W, L or M worked; C confirmed; S submitted,
// confirmed or, with the "S = *" option, checked; * checked; anything else
// (no letter, "N", "-") unworked. The "C = S = *" option only draws confirmed
// squares as checked ones look: they are still counted as confirmed.
Status status_of(char letter, const SettingsRecord& record);

inline bool is_credited(Status status) { return status != Status::kUnworked; }

// The any band's index: every grid of the listing with the letter of its best
// status over all band columns. A grid with no credited letter keeps its
// first column's letter.
GridIndex any_band_index(const ListingBands& listing, const SettingsRecord& record);

}  // namespace zelk

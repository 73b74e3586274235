// What a grid chaser asks after "what have I worked on this band": one map of
// every band, the field whose map holds the most, the FFMA squares still
// needed.
#pragma once

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "listing/grid_index.h"
#include "listing/listing_reader.h"
#include "record/settings_record.h"

namespace zelk {

// The any band's index: every grid of the listing with the letter of its best
// status over all band columns (checked over confirmed over worked), each
// letter classed as the map classes it with the record's options. A grid
// with no credited letter keeps its first column's letter.
GridIndex any_band_index(const ListingBands& listing, const SettingsRecord& record);

// Sets the record's lower-left field to the one whose map, at the record's
// map size, holds the most credited grids of `index`; ties go to the
// westmost, then the southmost. False, the record unchanged, when no map
// holds any.
bool find_lower_left_field(const GridIndex& index, SettingsRecord& record);

// A band's FFMA squares, field by field in the map's order of names: those
// not credited, and those credited but only worked.
struct FfmaNeeds {
  std::vector<std::string> needed, only_worked;
};
FfmaNeeds ffma_needs(const GridIndex& index, const SettingsRecord& record);

// The list page of a band's needs, one printable sheet; `page_time` dates it.
void write_ffma_list(std::FILE* out, const FfmaNeeds& needs, int band_index, std::time_t page_time);

}  // namespace zelk

// The map page: a table of Maidenhead fields, north to south and west to
// east, each a 10 x 10 table of squares classed by status and FFMA outline.
#pragma once

#include <cstdio>
#include <ctime>

#include "record/settings_record.h"
#include "listing/grid_index.h"

namespace zelk {

// The fields a map of the record shows: map columns east and map rows north
// of the lower-left field, cut to end at "Z" where a stored map size would
// run past it. The page, its style sheet, its pictures and the totals all ask
// this one place.
struct MapExtent {
  char west, south;
  int columns, rows;
  char east() const { return static_cast<char>(west + columns - 1); }
  char north() const { return static_cast<char>(south + rows - 1); }
};
MapExtent map_extent(const SettingsRecord& record);
// The map of every print format's size from the last lower-left field, RR,
// that reaches farthest east and north: no map of a print format shows a
// field past its east() and north().
MapExtent farthest_map_extent();

// Writes the whole page of the band the record names, from the listing's
// index, to `out`. Gives the number of credited squares on the map (worked,
// confirmed or checked) and adds those that are FFMA squares to
// `ffma_count`, whatever the FFMA option says. `page_time` dates the title.
int write_map_page(const GridIndex& index, std::FILE* out, int& ffma_count, const SettingsRecord& record,
                   std::time_t page_time);

// One field's inner table; gives its credited squares.
int write_field_table(std::FILE* out, const GridIndex& index, const char* field_name, int& ffma_count,
                      const SettingsRecord& record);

// Status class of a listed square from the status letter the index keeps.
const char* status_class(char status_letter, const SettingsRecord& record);

}  // namespace zelk

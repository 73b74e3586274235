// The map page: a table of Maidenhead fields, north to south and west to
// east, each a 10 x 10 table of squares classed by status and FFMA outline.
#pragma once

#include <cstdio>
#include <ctime>

#include "record/settings_record.h"
#include "listing/grid_index.h"

namespace zelk {

// Writes the whole page of the band the record names, from the listing's
// index, to `out`. Gives the number of credited squares on the map (worked,
// confirmed or checked) and adds those that are FFMA squares to
// `ffma_count`, whatever the FFMA option says. `page_time` dates the title.
int write_map_page(const GridIndex& index, std::FILE* out, int& ffma_count, const SettingsRecord& record,
                   std::time_t page_time);

// One field's inner table; gives its credited squares.
int write_field_table(std::FILE* out, const GridIndex& index, const char* field_name, int& ffma_count,
                      const SettingsRecord& record);

}  // namespace zelk

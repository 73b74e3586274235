// What a band still needs for the FFMA award: the squares not credited, and
// those credited but only worked, field by field.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "listing/grid_index.h"
#include "listing/status.h"
#include "record/settings_record.h"

namespace zelk {

// In the map's order of names: fields west to east, then south to north.
// And the credited grids written otherwise ("fn42", "FN31ab") that would fill
// a needed square, as written, in the listing's order: the reason it is
// still listed.
struct FfmaNeeds {
  std::vector<std::string> needed, only_worked;
  std::vector<std::pair<std::string, Status>> written_otherwise;
};
FfmaNeeds ffma_needs(const GridIndex& index, const SettingsRecord& record);

}  // namespace zelk

// What a band still needs for the FFMA award: the squares not credited, and
// those credited but only worked, field by field.
#pragma once

#include <string>
#include <vector>

#include "listing/grid_index.h"
#include "record/settings_record.h"

namespace zelk {

// In the map's order of names: fields west to east, then south to north.
struct FfmaNeeds {
  std::vector<std::string> needed, only_worked;
};
FfmaNeeds ffma_needs(const GridIndex& index, const SettingsRecord& record);

}  // namespace zelk

#include "ffma/ffma_needs.h"

#include <optional>

#include "ffma/ffma_data.h"
#include "listing/status.h"

namespace zelk {

FfmaNeeds ffma_needs(const GridIndex& index, const SettingsRecord& record) {
  FfmaNeeds needs;
  for (char west = kFfmaWest; west <= kFfmaEast; ++west)
    for (char south = kFfmaSouth; south <= kFfmaNorth; ++south)
      for (int number = 0; number < 100; ++number) {
        const char grid[5] = {west, south, static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10),
                              '\0'};
        if (ffma_member(grid) == 0) continue;
        const std::optional<char> letter = index.find(grid);
        const Status status = letter ? status_of(*letter, record) : Status::kUnworked;
        if (status == Status::kUnworked) needs.needed.push_back(grid);
        if (status == Status::kWorked) needs.only_worked.push_back(grid);
      }
  return needs;
}

}  // namespace zelk

#include "ffma/ffma_needs.h"

#include <algorithm>
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
  // The square a grid written otherwise names: its first four characters after
  // any spaces, the field letters as capitals.
  for (GridIndex::Node t = 1; t <= index.size(); ++t) {
    const Status status = status_of(index.status_letter(t), record);
    const std::string grid = index.key(t);
    std::string square = grid.substr(std::min(grid.find_first_not_of(' '), grid.size())).substr(0, 4);
    for (std::size_t i = 0; i < 2 && i < square.size(); ++i)
      if (square[i] >= 'a' && square[i] <= 'z') square[i] = static_cast<char>(square[i] - 'a' + 'A');
    if (is_credited(status) && square != grid &&
        std::binary_search(needs.needed.begin(), needs.needed.end(), square))
      needs.written_otherwise.emplace_back(grid, status);
  }
  return needs;
}

}  // namespace zelk

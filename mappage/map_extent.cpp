#include "mappage/map_extent.h"

#include <algorithm>
#include <string>

#include "listing/status.h"

namespace zelk {

MapExtent map_extent(const SettingsRecord& record) {
  const char west = record.lower_left_field[0], south = record.lower_left_field[1];
  auto within_z = [](int size, char from) { return std::clamp(size, 0, std::max(0, 'Z' - from + 1)); };
  return {west, south, within_z(record.map_columns, west), within_z(record.map_rows, south)};
}

MapExtent farthest_map_extent() {
  MapExtent farthest{kLastFieldLetter, kLastFieldLetter, 1, 1};
  for (std::int32_t format : {kPortrait, kLandscape, kTabloid}) {
    SettingsRecord record{};
    set_print_format(record, format);
    record.lower_left_field[0] = record.lower_left_field[1] = kLastFieldLetter;
    const MapExtent map = map_extent(record);
    farthest.columns = std::max(farthest.columns, map.columns);
    farthest.rows = std::max(farthest.rows, map.rows);
  }
  return farthest;
}

bool on_some_map(std::string_view grid) {
  static const MapExtent reach = farthest_map_extent();
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  return grid.size() == 4 && grid[0] >= 'A' && grid[0] <= reach.east() && grid[1] >= 'A' && grid[1] <= reach.north() &&
         digit(grid[2]) && digit(grid[3]);
}

bool find_lower_left_field(const GridIndex& index, SettingsRecord& record) {
  int in_field[26][26] = {};  // credited grids a map can show, by their field letters
  for (GridIndex::Node t = 1; t <= index.size(); ++t) {
    const std::string grid = index.key(t);
    if (on_some_map(grid) && is_credited(status_of(index.status_letter(t), record)))
      ++in_field[grid[0] - 'A'][grid[1] - 'A'];
  }
  int most = 0;
  SettingsRecord candidate = record;
  for (char west = 'A'; is_field_letter(west); ++west) {
    for (char south = 'A'; is_field_letter(south); ++south) {
      candidate.lower_left_field[0] = west;
      candidate.lower_left_field[1] = south;
      const MapExtent map = map_extent(candidate);
      int held = 0;
      for (int column = 0; column < map.columns; ++column)
        for (int row = 0; row < map.rows; ++row) held += in_field[west - 'A' + column][south - 'A' + row];
      if (held <= most) continue;
      most = held;
      record.lower_left_field[0] = west;
      record.lower_left_field[1] = south;
      record.lower_left_field[2] = '\0';
    }
  }
  return most > 0;
}

}  // namespace zelk

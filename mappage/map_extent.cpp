#include "mappage/map_extent.h"

#include <algorithm>
#include <climits>
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
  // By field: its credited grids a map can show, and the box of squares around them.
  struct Field {
    int grids = 0;
    int west = 0, east = 0, south = 0, north = 0;  // in squares from AA00
  } fields[26][26];
  for (GridIndex::Node t = 1; t <= index.size(); ++t) {
    const std::string grid = index.key(t);
    if (!on_some_map(grid) || !is_credited(status_of(index.status_letter(t), record))) continue;
    Field& field = fields[grid[0] - 'A'][grid[1] - 'A'];
    const int x = (grid[0] - 'A') * 10 + grid[2] - '0', y = (grid[1] - 'A') * 10 + grid[3] - '0';
    if (field.grids++ == 0) field.west = field.east = x, field.south = field.north = y;
    field.west = std::min(field.west, x), field.east = std::max(field.east, x);
    field.south = std::min(field.south, y), field.north = std::max(field.north, y);
  }
  int most = 0;
  double nearest = 0;
  SettingsRecord candidate = record;
  for (char west = 'A'; is_field_letter(west); ++west) {
    for (char south = 'A'; is_field_letter(south); ++south) {
      candidate.lower_left_field[0] = west;
      candidate.lower_left_field[1] = south;
      const MapExtent map = map_extent(candidate);
      Field held{0, INT_MAX, INT_MIN, INT_MAX, INT_MIN};
      for (int column = 0; column < map.columns; ++column)
        for (int row = 0; row < map.rows; ++row) {
          const Field& field = fields[west - 'A' + column][south - 'A' + row];
          if (field.grids == 0) continue;
          held.grids += field.grids;
          held.west = std::min(held.west, field.west), held.east = std::max(held.east, field.east);
          held.south = std::min(held.south, field.south), held.north = std::max(held.north, field.north);
        }
      if (held.grids == 0 || held.grids < most) continue;
      // Twice each centre, in squares: the box's spans its squares whole.
      const double dx = (held.west + held.east + 1) - ((west - 'A') * 20 + map.columns * 10);
      const double dy = (held.south + held.north + 1) - ((south - 'A') * 20 + map.rows * 10);
      const double distance = dx * dx + dy * dy;
      if (held.grids == most && distance >= nearest) continue;
      most = held.grids;
      nearest = distance;
      record.lower_left_field[0] = west;
      record.lower_left_field[1] = south;
      record.lower_left_field[2] = '\0';
    }
  }
  return most > 0;
}

}  // namespace zelk

#include "mappage/map_page.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "ffma/ffma_data.h"
#include "listing/band_table.h"
#include "mappage/page_date.h"
#include "mappage/style_sheet.h"

namespace zelk {

MapExtent map_extent(const SettingsRecord& record) {
  const char west = record.lower_left_field[0], south = record.lower_left_field[1];
  auto within_z = [](int size, char from) { return std::clamp(size, 0, std::max(0, 'Z' - from + 1)); };
  return {west, south, within_z(record.map_columns, west), within_z(record.map_rows, south)};
}

MapExtent farthest_map_extent() {
  MapExtent farthest{'R', 'R', 1, 1};
  for (std::int32_t format : {kPortrait, kLandscape, kTabloid}) {
    SettingsRecord record{};
    set_print_format(record, format);
    record.lower_left_field[0] = record.lower_left_field[1] = 'R';
    const MapExtent map = map_extent(record);
    farthest.columns = std::max(farthest.columns, map.columns);
    farthest.rows = std::max(farthest.rows, map.rows);
  }
  return farthest;
}

const char* status_class(char status_letter, const SettingsRecord& record) {
  switch (status_letter) {
    case '*': return "checked";
    case 'C': return "confirmed";
    case 'S': return record.submitted_as_checked_option == 1 ? "checked" : "confirmed";
    case 'L':
    case 'M':
    case 'W': return "worked";
    default: return "unworked";
  }
}

int write_field_table(std::FILE* out, const GridIndex& index, const char* field_name, int& ffma_count,
                      const SettingsRecord& record) {
  std::fputs("\t\t\t<table>\n", out);
  int credited = 0;
  for (char row = '9'; row >= '0'; --row) {
    std::fputs("\t\t\t\t<tr>\n", out);
    for (char column = '0'; column <= '9'; ++column) {
      const char grid[5] = {field_name[0], field_name[1], column, row, '\0'};
      const char* border_class = record.ffma_option == 0 ? "none" : outline_border_class(grid);
      const std::optional<char> letter = index.find(grid);
      const char* status = letter ? status_class(*letter, record) : "unworked";
      if (std::strcmp(status, "unworked") != 0) {
        ++credited;
        ffma_count += ffma_member(grid);
      }
      std::fprintf(out, "\t\t\t\t\t<td class='%s %s'>%c%c</td>\n", status, border_class, column, row);
    }
    std::fputs("\t\t\t\t</tr>\n", out);
  }
  std::fputs("\t\t\t</table>\n", out);
  return credited;
}

int write_map_page(const GridIndex& index, std::FILE* out, int& ffma_count, const SettingsRecord& record,
                   std::time_t page_time) {
  const std::string date = page_date_text(page_time);
  const MapExtent map = map_extent(record);

  std::fputs("<html>\n", out);
  std::fputs("<head>\n", out);
  std::fprintf(out, "<title>ZELK Grid Map for %s (%c%c to %c%c) - %s</title>\n", band_caption(record.band_index),
               map.west, map.south, map.east(), map.north(), date.c_str());
  StatusStyleTable styles;
  write_style_sheet(out, styles, record);
  std::fputs("</head>\n", out);
  std::fputs("<body>\n", out);
  std::fputs("<font face='Courier New'>\n", out);
  std::fputs("<table cellpadding='0'>\n", out);
  int total = 0;
  for (int row = map.rows - 1; row >= 0; --row) {
    std::fputs("\t<tr>\n", out);
    for (int column = 0; column < map.columns; ++column) {
      const char field_name[3] = {static_cast<char>(map.west + column), static_cast<char>(map.south + row), '\0'};
      std::fprintf(out, "\t\t<td class='%s'>\n", field_name);
      total += write_field_table(out, index, field_name, ffma_count, record);
      std::fputs("\t\t</td>\n", out);
    }
    std::fputs("\t</tr>\n", out);
  }
  std::fputs("</table>\n", out);
  write_legend(out, styles);
  std::fputs("</font>\n", out);
  std::fputs("</body>\n", out);
  std::fputs("</html>\n", out);
  return total;
}

}  // namespace zelk

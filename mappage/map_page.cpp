#include "mappage/map_page.h"

#include <optional>

#include "ffma/ffma_data.h"
#include "listing/band_table.h"
#include "listing/status.h"
#include "mappage/map_extent.h"
#include "mappage/page_date.h"
#include "mappage/style_sheet.h"

namespace zelk {

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
      const Status status = letter ? status_of(*letter, record) : Status::kUnworked;
      if (is_credited(status)) {
        ++credited;
        ffma_count += ffma_member(grid);
      }
      std::fprintf(out, "\t\t\t\t\t<td class='%s %s'>%c%c</td>\n", status_class(status), border_class, column, row);
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

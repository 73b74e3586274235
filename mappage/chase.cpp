#include "mappage/chase.h"

#include <array>
#include <string_view>

#include "ffma/ffma_data.h"
#include "listing/band_table.h"
#include "mappage/band_totals.h"
#include "mappage/html.h"
#include "mappage/map_page.h"
#include "mappage/page_date.h"

namespace zelk {

namespace {

int status_rank(char letter, const SettingsRecord& record) {
  const std::string_view status = status_class(letter, record);
  return status == "checked" ? 3 : status == "confirmed" ? 2 : status == "worked" ? 1 : 0;
}

bool credited(const GridIndex& index, GridIndex::Node t, const SettingsRecord& record) {
  return status_rank(index.status_letter(t), record) > 0;
}

// One field's squares on one line, headed by the field and its count. Each
// step takes one square, so the page ends whatever the grids hold.
void write_fields(std::FILE* out, const std::vector<std::string>& grids) {
  std::fputs("<div class='fields'>\n", out);
  std::size_t first = 0;  // of the field being gathered
  for (std::size_t end = 1; end <= grids.size(); ++end) {
    if (end < grids.size() && grids[end].compare(0, 2, grids[first], 0, 2) == 0) continue;
    std::fprintf(out, "<p><b>%.2s</b> (%d):", grids[first].c_str(), static_cast<int>(end - first));
    for (std::size_t i = first; i < end; ++i) std::fprintf(out, " %s", grids[i].c_str());
    std::fputs("</p>\n", out);
    first = end;
  }
  std::fputs("</div>\n", out);
}

}  // namespace

GridIndex any_band_index(const ListingBands& listing, const SettingsRecord& record) {
  // Every letter ranked once: a listing of the world has grids by the ten thousand.
  std::array<int, 256> rank;
  for (int letter = 0; letter < 256; ++letter) rank[letter] = status_rank(static_cast<char>(letter), record);
  std::vector<std::int16_t> best(listing.grids.size() + 1, -1);
  for (GridIndex::Node t = 1; t < best.size(); ++t)
    for (const std::vector<std::int16_t>& column : listing.letters)
      if (t < column.size() && column[t] >= 0 && (best[t] < 0 || rank[column[t]] > rank[best[t]])) best[t] = column[t];
  return listing.grids.with_letters(best, '\0');
}

bool find_lower_left_field(const GridIndex& index, SettingsRecord& record) {
  int in_field[26][26] = {};  // credited grids a map can show, by their field letters
  for (GridIndex::Node t = 1; t <= index.size(); ++t) {
    const std::string grid = index.key(t);
    if (on_some_map(grid) && credited(index, t, record)) ++in_field[grid[0] - 'A'][grid[1] - 'A'];
  }
  int most = 0;
  SettingsRecord candidate = record;
  for (char west = 'A'; west <= 'R'; ++west) {
    for (char south = 'A'; south <= 'R'; ++south) {
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

FfmaNeeds ffma_needs(const GridIndex& index, const SettingsRecord& record) {
  FfmaNeeds needs;
  // Every FFMA square lies in the fields C..F by L..N.
  for (char west = 'C'; west <= 'F'; ++west)
    for (char south = 'L'; south <= 'N'; ++south)
      for (int number = 0; number < 100; ++number) {
        const char grid[5] = {west, south, static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10),
                              '\0'};
        if (ffma_member(grid) == 0) continue;
        const std::optional<char> letter = index.find(grid);
        const int rank = letter ? status_rank(*letter, record) : 0;
        if (rank == 0) needs.needed.push_back(grid);
        if (rank == 1) needs.only_worked.push_back(grid);
      }
  return needs;
}

void write_ffma_list(std::FILE* out, const FfmaNeeds& needs, int band_index, std::time_t page_time) {
  const std::string heading =
      std::string("ZELK FFMA Squares Needed on ") + band_caption(band_index) + " - " + page_date_text(page_time);
  write_document_start(out, heading);
  // Small type in four columns: all 488 squares still fit one sheet of
  // Letter or A4.
  std::fputs("<style>\n"
             "@page { margin: 0.5in; }\n"
             "body { font-family: sans-serif; font-size: 9pt; }\n"
             "h1 { font-size: 1.3em; }\n"
             "h2 { font-size: 1.1em; margin: 0.8em 0 0.3em; }\n"
             ".fields { column-count: 4; column-gap: 1.5em; }\n"
             ".fields p { margin: 0 0 0.3em; break-inside: avoid; }\n"
             "</style>\n</head>\n<body>\n",
             out);
  // At most 488 of each.
  const int needed = static_cast<int>(needs.needed.size()), only_worked = static_cast<int>(needs.only_worked.size());
  std::fprintf(out, "<h1>%s</h1>\n<p>%d of %d FFMA squares needed, %d credited.</p>\n", heading.c_str(), needed,
               kFfmaSquares, kFfmaSquares - needed);
  std::fprintf(out, "<h2>Needed: work them (%d)</h2>\n", needed);
  write_fields(out, needs.needed);
  std::fprintf(out, "<h2>Only worked: confirm them (%d)</h2>\n", only_worked);
  write_fields(out, needs.only_worked);
  std::fputs("</body>\n</html>\n", out);
}

}  // namespace zelk

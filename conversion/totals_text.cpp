#include "conversion/totals_text.h"

#include <algorithm>
#include <string_view>

#include "listing/band_table.h"

namespace zelk {

namespace {

// A grid as a warning shows it: quoted, and cut at a character, when its
// bytes would hide where it starts and ends (" FN21", a whole line).
std::string shown_grid(std::string_view grid) {
  constexpr std::size_t kLongest = 16;
  const bool plain = grid.size() <= kLongest && std::all_of(grid.begin(), grid.end(), [](char c) {
                       return c > ' ' && c < 127 && c != '"' && c != ',';
                     });
  if (plain) return std::string(grid);
  std::size_t cut = std::min(grid.size(), kLongest);
  while (cut < grid.size() && cut > 0 && (static_cast<unsigned char>(grid[cut]) & 0xC0) == 0x80) --cut;
  std::string shown = "\"";
  for (char c : grid.substr(0, cut)) {
    if (c == '"' || c == '\\') shown += '\\';
    shown += static_cast<unsigned char>(c) < ' ' ? '?' : c;
  }
  return shown + (cut < grid.size() ? "...\"" : "\"");
}

}  // namespace

std::string off_map_warning(const std::string& listing_path, const std::vector<BandTotals>& bands) {
  // The any band holds every band's grids once each: where it is counted,
  // it alone says how many distinct grids there are.
  const auto any = std::find_if(bands.begin(), bands.end(), [](const BandTotals& band) { return band.band_index == kAnyBand; });
  int count = 0;
  std::vector<std::string> examples;
  for (const BandTotals& band : bands) {
    if (any != bands.end() && &band != &*any) continue;
    count += band.off_map;
    for (const std::string& grid : band.off_map_examples)
      if (examples.size() < kOffMapExamples && std::find(examples.begin(), examples.end(), grid) == examples.end())
        examples.push_back(grid);
  }
  if (count == 0) return std::string();
  std::string warning = "WARNING: " + std::to_string(count) + " credited grid" + (count == 1 ? " of " : "s of ") +
                        listing_path + (count == 1 ? " is" : " are") +
                        " not written as a map writes squares (four characters, capital letters) and " +
                        (count == 1 ? "shows" : "show") + " on no map:";
  for (const std::string& grid : examples) warning += (grid == examples.front() ? " " : ", ") + shown_grid(grid);
  return warning + (count > static_cast<int>(examples.size()) ? ", ...\n" : "\n");
}

std::string band_totals_text(const std::vector<BandTotals>& bands) {
  std::vector<std::vector<std::string>> rows = {std::vector<std::string>(std::begin(kTotalsHeadings), std::end(kTotalsHeadings))};
  for (const BandTotals& band : bands) {
    rows.push_back({band_caption(band.band_index)});
    for (std::string& cell : totals_cells(band)) rows.back().push_back(std::move(cell));
  }
  std::vector<std::size_t> widths(rows[0].size());
  for (const auto& row : rows)
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  std::string text;
  for (const auto& row : rows) {
    text += row[0] + std::string(widths[0] - row[0].size(), ' ');
    for (std::size_t i = 1; i < row.size(); ++i) text += std::string(widths[i] - row[i].size() + 2, ' ') + row[i];
    text += '\n';
  }
  return text;
}

std::string band_totals_line(const BandTotals& band) {
  return std::string(band_caption(band.band_index)) + ": " + std::to_string(band.credited()) + " credited, FFMA " +
         std::to_string(band.ffma) + " of " + std::to_string(kFfmaSquares);
}

}  // namespace zelk

#include "mappage/band_totals.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

#include "record/bounded_text.h"
#include "ffma/ffma_data.h"
#include "listing/band_table.h"
#include "mappage/map_page.h"
#include "mappage/page_date.h"

namespace zelk {

namespace {

constexpr int kFfmaSquares = 488;
constexpr std::size_t kOffMapExamples = 3;

// Names come from the user's files: a listing may well be called "a<b>&c.csv".
std::string html_escaped(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      case '\'': escaped += "&#39;"; break;
      default: escaped += c;
    }
  }
  return escaped;
}

// A file name as a relative URL: "#" would start a fragment, "?" a query and
// a ":" before any "/" a scheme, so all but the unreserved bytes are encoded.
std::string url_escaped(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) != 0 || std::strchr("-._~", c) != nullptr) {
      escaped += c;
    } else {
      escaped += '%';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 15];
    }
  }
  return escaped;
}

constexpr const char* kHeadings[] = {"Band", "Checked", "Confirmed", "Worked", "Total", "FFMA", "Written otherwise"};

// One row of the table's cells after the band's caption.
std::vector<std::string> number_cells(const BandTotals& band) {
  return {std::to_string(band.checked), std::to_string(band.confirmed), std::to_string(band.worked),
          std::to_string(band.credited()), std::to_string(band.ffma) + " of " + std::to_string(kFfmaSquares),
          std::to_string(band.off_map)};
}

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
  int count = 0;
  std::vector<std::string> examples;
  for (const BandTotals& band : bands) {
    if (band.band_index == kAnyBand) continue;  // its grids are every band's, counted there
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

bool on_some_map(std::string_view grid) {
  static const MapExtent reach = farthest_map_extent();
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  return grid.size() == 4 && grid[0] >= 'A' && grid[0] <= reach.east() && grid[1] >= 'A' && grid[1] <= reach.north() &&
         digit(grid[2]) && digit(grid[3]);
}

std::vector<BandTotals> count_column_totals(const GridIndex& grids,
                                           const std::vector<std::vector<std::int16_t>>& letters,
                                           const SettingsRecord& record) {
  // Where each status letter counts, as the map classes it: in one of the
  // three counts, or nowhere.
  std::array<int BandTotals::*, 256> counts;
  for (int letter = 0; letter < 256; ++letter) {
    const std::string_view status = status_class(static_cast<char>(letter), record);
    counts[letter] = status == "checked"     ? &BandTotals::checked
                     : status == "confirmed" ? &BandTotals::confirmed
                     : status == "worked"    ? &BandTotals::worked
                                             : nullptr;
  }
  std::vector<BandTotals> totals(letters.size());
  for (GridIndex::Node t = 1; t <= grids.size(); ++t) {
    const std::string grid = grids.key(t);
    const bool on_map = on_some_map(grid);
    const int ffma = on_map ? ffma_member(grid.c_str()) : 0;
    for (std::size_t i = 0; i < letters.size(); ++i) {
      if (t >= letters[i].size() || letters[i][t] < 0) continue;
      int BandTotals::*count = counts[static_cast<unsigned char>(letters[i][t])];
      if (count == nullptr) continue;
      ++(on_map ? totals[i].*count : totals[i].off_map);
      totals[i].ffma += ffma;
      // Nodes are numbered as the listing's rows first name their grids.
      if (!on_map && totals[i].off_map_examples.size() < kOffMapExamples) totals[i].off_map_examples.push_back(grid);
    }
  }
  return totals;
}

BandTotals count_off_map(const GridIndex& index, const SettingsRecord& record) {
  BandTotals totals;
  for (GridIndex::Node t = 1; t <= index.size(); ++t)
    if (std::strcmp(status_class(index.status_letter(t), record), "unworked") != 0 && !on_some_map(index.key(t)) &&
        ++totals.off_map <= static_cast<int>(kOffMapExamples))
      totals.off_map_examples.push_back(index.key(t));
  return totals;
}

namespace {

// A bar of stacked parts, each `count` of `whole`. Each part is the top border
// of an empty box: borders print where backgrounds are left off by default,
// and their styles (solid, double, thin) tell the parts apart in black and
// white as their colours do in colour.
struct BarPart {
  const char* status;
  int count;
};
std::string bar(std::initializer_list<BarPart> parts, int whole, const std::string& label) {
  std::string cell = "<td class='bar'><span role='img' aria-label='" + label + "'>";
  for (const BarPart& part : parts) {
    if (part.count <= 0 || whole <= 0) continue;
    char width[32];
    std::snprintf(width, sizeof width, "%.1f%%", 100.0 * std::min(part.count, whole) / whole);
    cell += std::string("<span class='") + part.status + "' style='width: " + width + "'></span>";
  }
  return cell + "</span></td>";
}

}  // namespace

void write_contents_page(std::FILE* out, const std::string& listing_name, const std::vector<BandTotals>& bands,
                         std::time_t page_time) {
  const std::string heading = "ZELK Band Totals for " + html_escaped(listing_name) + " - " + page_date_text(page_time);
  std::fputs("<!DOCTYPE html>\n<html lang='en'>\n<head>\n<meta charset='utf-8'>\n", out);
  std::fprintf(out, "<title>%s</title>\n", heading.c_str());
  std::fputs("<style>\n"
             "body { font-family: sans-serif; }\n"
             "h1 { font-size: 1.4em; }\n"
             "p { max-width: 40em; }\n"
             "table { border-collapse: collapse; }\n"
             "th, td { border: 1px solid #888; padding: 0.2em 0.6em; text-align: right; white-space: nowrap; }\n"
             "th:first-child, td:first-child { text-align: left; }\n"
             "td.bar { width: 7em; padding-left: 0; text-align: left; }\n"
             "td.bar > span { display: flex; align-items: center; height: 0.9em; border: 1px solid #000; }\n"
             "td.bar span span { border-top: 0.9em solid; }\n"
             ".checked { border-top-color: #1b5e20 !important; }\n"
             ".confirmed { border-top-style: double !important; border-top-color: #1565c0 !important; }\n"
             ".worked { border-top-width: 0.4em !important; border-top-color: #ef6c00 !important; }\n"
             ".ffma { border-top-color: #6a1b9a !important; }\n"
             "td.bar, th.bar { border-left: none; }\n"
             "</style>\n</head>\n<body>\n",
             out);
  std::fprintf(out, "<h1>%s</h1>\n<table>\n<tr>", heading.c_str());
  // Total and FFMA head their bars' cells too.
  for (const std::string_view name : kHeadings)
    std::fprintf(out, "<th%s>%s</th>", name == "Total" || name == "FFMA" ? " colspan='2'" : "", name.data());
  std::fputs("</tr>\n", out);
  // The totals' bars share one scale, the largest total, so bands compare.
  int largest = 0;
  for (const BandTotals& band : bands) largest = std::max(largest, band.credited());
  for (const BandTotals& band : bands) {
    const std::string caption = html_escaped(band_caption(band.band_index));
    if (band.page.empty()) std::fprintf(out, "<tr><td>%s", caption.c_str());
    else
      std::fprintf(out, "<tr><td><a href='%s'>%s</a>", html_escaped(url_escaped(band.page)).c_str(), caption.c_str());
    if (!band.field.empty()) std::fprintf(out, " (map from %s)", html_escaped(band.field).c_str());
    std::fputs("</td>", out);
    // Checked, confirmed, worked and total, the total's bar; the FFMA count, its bar; written otherwise.
    const std::vector<std::string> cells = number_cells(band);
    for (std::size_t i = 0; i < 4; ++i) std::fprintf(out, "<td>%s</td>", cells[i].c_str());
    const std::string counts = std::to_string(band.checked) + " checked, " + std::to_string(band.confirmed) +
                               " confirmed, " + std::to_string(band.worked) + " worked";
    std::fputs(bar({{"checked", band.checked}, {"confirmed", band.confirmed}, {"worked", band.worked}}, largest, counts)
                   .c_str(),
               out);
    if (band.ffma_list.empty()) std::fprintf(out, "<td>%s</td>", cells[4].c_str());
    else
      std::fprintf(out, "<td><a href='%s'>%s</a></td>", html_escaped(url_escaped(band.ffma_list)).c_str(),
                   cells[4].c_str());
    std::fputs(bar({{"ffma", band.ffma}}, kFfmaSquares, cells[4] + " FFMA squares").c_str(), out);
    std::fprintf(out, "<td>%s</td>", cells[5].c_str());
    std::fputs("</tr>\n", out);
  }
  std::fputs("</table>\n"
             "<p>These totals count the whole listing; a map counts only the grids in its fields. The bars "
             "stack checked (solid), confirmed (double) and worked (thin) grids, on the scale of the "
             "largest total, and the FFMA squares credited of 488.</p>\n"
             "<p>Each grid counts once per band, with the status letter of its first row there, as the maps "
             "show it. Written otherwise: credited grids that no map can show, since they are not written "
             "as a map writes its squares (two capital field letters and two digits, as in FN42).</p>\n"
             "</body>\n</html>\n",
             out);
}

std::string band_totals_text(const std::vector<BandTotals>& bands) {
  std::vector<std::vector<std::string>> rows = {std::vector<std::string>(std::begin(kHeadings), std::end(kHeadings))};
  for (const BandTotals& band : bands) {
    rows.push_back({band_caption(band.band_index)});
    for (std::string& cell : number_cells(band)) rows.back().push_back(std::move(cell));
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

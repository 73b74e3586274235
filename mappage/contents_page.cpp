#include "mappage/contents_page.h"

#include <initializer_list>
#include <string_view>

#include "listing/band_table.h"
#include "mappage/html.h"
#include "mappage/page_date.h"

namespace zelk {

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
    const std::string width = css_percent(100.0 * std::min(part.count, whole) / whole);
    cell += std::string("<span class='") + part.status + "' style='width: " + width + "'></span>";
  }
  return cell + "</span></td>";
}

}  // namespace

void write_contents_page(std::FILE* out, const std::string& listing_name, const std::vector<BandTotals>& bands,
                         std::time_t page_time) {
  const std::string heading = "ZELK Band Totals for " + html_escaped(listing_name) + " - " + page_date_text(page_time);
  write_document_start(out, heading);
  std::fputs("<style>\n"
             "body { font-family: sans-serif; }\n"
             "h1 { font-size: 1.4em; }\n"
             "p { max-width: 40em; }\n"
             "table { border-collapse: collapse; }\n"
             "th, td { border: 1px solid #888; padding: 0.2em 0.5em; text-align: right; white-space: nowrap; }\n"
             "th:first-child, td:first-child { text-align: left; }\n"
             // A bar of its own width, which a table squeezed onto portrait
             // paper cannot take from it: the caption and headings wrap instead.
             "th, td:first-child { white-space: normal; }\n"
             "td:first-child > * { white-space: nowrap; }\n"
             "td.bar { padding-left: 0; text-align: left; }\n"
             "td.bar > span { display: flex; align-items: center; width: 25mm; height: 0.9em; border: 1px solid #000; }\n"
             "@media print { body { font-size: 9pt; } th, td { padding: 0.2em 0.35em; } }\n"
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
  for (const std::string_view name : kTotalsHeadings)
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
    if (!band.field.empty()) std::fprintf(out, " <span>(map from %s)</span>", html_escaped(band.field).c_str());
    std::fputs("</td>", out);
    // Checked, confirmed, worked and total, the total's bar; the FFMA count, its bar; written otherwise.
    const std::vector<std::string> cells = totals_cells(band);
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

}  // namespace zelk

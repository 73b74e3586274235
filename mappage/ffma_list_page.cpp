#include "mappage/ffma_list_page.h"

#include <string>

#include "ffma/ffma_data.h"
#include "listing/band_table.h"
#include "mappage/html.h"
#include "mappage/page_date.h"
#include "mappage/style_sheet.h"

namespace zelk {

namespace {

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
  // "Credited" reads as confirmed to a chaser: the words are theirs.
  std::fprintf(out, "<h1>%s</h1>\n<p>%d of %d still needed; %d worked, %d of them not yet confirmed.</p>\n",
               heading.c_str(), needed, kFfmaSquares, kFfmaSquares - needed, only_worked);
  std::fprintf(out, "<h2>Needed: work them (%d)</h2>\n", needed);
  write_fields(out, needs.needed);
  std::fprintf(out, "<h2>Only worked: confirm them (%d)</h2>\n", only_worked);
  write_fields(out, needs.only_worked);
  if (!needs.written_otherwise.empty())
    std::fprintf(out, "<h2>Written otherwise (%d)</h2>\n", static_cast<int>(needs.written_otherwise.size()));
  for (const auto& [grid, status] : needs.written_otherwise)
    std::fprintf(out, "<p>%s: %s, written otherwise, not counted</p>\n", html_escaped(grid).c_str(), status_class(status));
  std::fputs("</body>\n</html>\n", out);
}

}  // namespace zelk

#include "mappage/style_sheet.h"

#include <utility>

#include "mappage/map_extent.h"

namespace zelk {

const char* status_class(Status status) {
  static constexpr const char* kClasses[] = {"unworked", "worked", "confirmed", "checked"};
  return kClasses[static_cast<int>(status)];
}

void fill_status_styles(StatusStyleTable& table, const SettingsRecord& record) {
  if (record.color_option != 0) {
    table = {{{"unworked", "Gray", 0},
              {"worked", "Red", record.bold_option},
              {"confirmed", "Green", record.bold_option},
              {"checked", "Black", record.bold_option}},
             "blue"};
  } else {
    table = {{{"unworked", "Gray", 0}, {"worked", "Gray", 1}, {"confirmed", "Black", 0}, {"checked", "Black", 1}},
             "black"};
  }
  StatusStyle& unworked = table[Status::kUnworked];
  StatusStyle& checked = table[Status::kChecked];
  if (record.emphasize_needed_option == 1) {
    std::swap(unworked.color_word, checked.color_word);
    std::swap(unworked.bold, checked.bold);
  }
  if (record.confirmed_as_checked_option == 1) {
    table[Status::kConfirmed].color_word = checked.color_word;
    table[Status::kConfirmed].bold = checked.bold;
  }
}

namespace {

void write_status_rules(std::FILE* out, const StatusStyleTable& table) {
  for (const StatusStyle& style : table.styles) {
    std::fprintf(out, "td.%s {\n", style.class_name);
    std::fputs("\theight: 20px;\n", out);
    std::fputs("\twidth:  20px;\n", out);
    std::fprintf(out, "\tcolor:  %s;\n", style.color_word);
    if (style.bold == 1) std::fputs("\tfont-weight: bold;\n", out);
    std::fputs("}\n", out);
  }
}

// Selectors td.none, td.w, td.e, td.ew ... td.nsew: the four bits of the
// rule number are n, s, e and w, so n runs in the outermost loop.
void write_border_rules(std::FILE* out, const char* outline_color, bool ffma) {
  for (int rule = 0; rule < (ffma ? 16 : 1); ++rule) {
    const bool n = rule & 8, s = rule & 4, e = rule & 2, w = rule & 1;
    std::fputs("td.", out);
    if (rule == 0) std::fputs("none", out);
    if (n) std::fputs("n", out);
    if (s) std::fputs("s", out);
    if (e) std::fputs("e", out);
    if (w) std::fputs("w", out);
    std::fputs(" {\n", out);
    std::fprintf(out, "\tborder-top:    2px solid %s;\n", n ? outline_color : "silver");
    std::fprintf(out, "\tborder-bottom: 2px solid %s;\n", s ? outline_color : "silver");
    std::fprintf(out, "\tborder-left:   2px solid %s;\n", w ? outline_color : "silver");
    std::fprintf(out, "\tborder-right:  2px solid %s;\n", e ? outline_color : "silver");
    std::fputs("}\n", out);
  }
}

// Column by column from the south; letters run on past "R" like the map's.
void write_field_picture_rules(std::FILE* out, const SettingsRecord& record) {
  const MapExtent map = map_extent(record);
  for (int column = 0; column < map.columns; ++column)
    for (int row = 0; row < map.rows; ++row) {
      char longitude = static_cast<char>(map.west + column);
      char latitude = static_cast<char>(map.south + row);
      std::fprintf(out, "td.%c%c {\n", longitude, latitude);
      std::fprintf(out, "\tbackground-image:    url(images/%c%c.gif);\n", longitude, latitude);
      std::fputs("\tbackground-repeat:   no-repeat; \n", out);
      std::fputs("\tbackground-position: center;\n", out);
      std::fputs("}\n", out);
    }
}

// The same choice as the summary's print advice, which also goes by the map's width.
const char* sheet_orientation(int map_columns) {
  switch (map_columns) {
    case 3: return "portrait";
    case 4: case 6: return "landscape";
    default: return nullptr;
  }
}

void write_legend_cell(std::FILE* out, const StatusStyle& style) {
  if (style.bold == 1) std::fputs("<strong>", out);
  std::fprintf(out, "<span style='color: %s'>%s</span>", style.color_word, style.color_word);
  if (style.bold == 1) std::fputs("</strong>", out);
  std::fputs("</td>\n", out);
}

}  // namespace

void write_style_sheet(std::FILE* out, StatusStyleTable& table, const SettingsRecord& record) {
  fill_status_styles(table, record);
  std::fputs("<style type='text/css'>\ntable {\n\tborder-collapse: collapse;\n}\n", out);
  write_status_rules(out, table);
  write_border_rules(out, table.outline_color, record.ffma_option != 0);
  write_field_picture_rules(out, record);
  // On paper the sheet's margins stand in for the body's 8px: with both, the
  // landscape map is a few pixels wider than Letter's printable width at the
  // browser's default margins, and the browser shrinks the whole map to fit.
  // Browsers leave backgrounds off paper unless told; the field pictures are
  // the map itself.
  std::fputs("@media print {\n\tbody {\n\t\tmargin: 0;\n\t}\n"
             "\ttd {\n\t\t-webkit-print-color-adjust: exact;\n\t\tprint-color-adjust: exact;\n\t}\n}\n",
             out);
  // A4 is 0.23in narrower than Letter: turned for the landscape map, its
  // height at Firefox's default margins leaves no room for the gap above the
  // legend, which then prints alone on a second sheet. The queries see the
  // paper before the page turns it, so a short side of either kind counts;
  // Letter's 7.5in and every larger sheet keep the gap.
  std::fputs("@media print and (max-width: 7.4in), print and (max-height: 7.4in) {\n"
             "\tp {\n\t\tmargin: 0;\n\t}\n}\n",
             out);
  // A cell's height is only its least: a row is as tall as the font's normal
  // line, 18px in one engine and 19px in another for the same font, and a
  // field taller than its picture shows white strips and shifts the squares
  // off their geography. 18px is the line that gives 22px rows.
  std::fputs("td {\n\tline-height: 18px;\n}\n", out);
  // Turns the print dialog to the sheet the advice names; the paper stays the user's choice.
  if (const char* orientation = sheet_orientation(record.map_columns))
    std::fprintf(out, "@page {\n\tsize: %s;\n}\n", orientation);
  std::fputs("</style>\n", out);
}

void write_legend(std::FILE* out, const StatusStyleTable& table) {
  std::fputs("<p></p>\n", out);
  std::fputs("<table><tr>\n", out);
  std::fputs("<td width='50'></td>\n", out);
  std::fputs("<td width='200'>Checked: ", out);
  write_legend_cell(out, table[Status::kChecked]);
  std::fputs("<td width='200'>Confirmed: ", out);
  write_legend_cell(out, table[Status::kConfirmed]);
  std::fputs("<td width='200'>Worked: ", out);
  write_legend_cell(out, table[Status::kWorked]);
  std::fputs("<td width='200'>Unworked: ", out);
  write_legend_cell(out, table[Status::kUnworked]);
  std::fputs("</tr></table>\n", out);
}

}  // namespace zelk

// The status looks chosen by the options, the style block and the legend.
#include "mappage/style_sheet.h"

#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace zelk {
namespace {

template <typename Write>
std::string written(Write write) {
  std::FILE* out = std::tmpfile();
  write(out);
  std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
  std::rewind(out);
  text.resize(std::fread(text.data(), 1, text.size(), out));
  std::fclose(out);
  return text;
}

int occurrences(const std::string& text, const std::string& piece) {
  int count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

TEST(StyleSheet, OptionsTransformTheBaseTables) {
  struct Case {
    int color, bold, needed, c_checked;
    const char* looks;  // unworked, worked, confirmed, checked; "+" is bold
    const char* outline;
  };
  for (Case c : {Case{1, 1, 1, 1, "Black+ Red+ Gray Gray", "blue"},
                 Case{1, 0, 1, 1, "Black Red Gray Gray", "blue"},
                 Case{1, 1, 1, 0, "Black+ Red+ Green+ Gray", "blue"},
                 Case{1, 1, 0, 0, "Gray Red+ Green+ Black+", "blue"},
                 Case{1, 0, 0, 0, "Gray Red Green Black", "blue"},
                 Case{1, 1, 0, 1, "Gray Red+ Black+ Black+", "blue"},
                 Case{0, 1, 1, 1, "Black+ Gray+ Gray Gray", "black"},
                 Case{0, 0, 0, 0, "Gray Gray+ Black Black+", "black"},
                 Case{0, 0, 0, 1, "Gray Gray+ Black+ Black+", "black"}}) {
    SettingsRecord record;
    reset_to_defaults(record);
    record.color_option = c.color;
    record.bold_option = c.bold;
    record.emphasize_needed_option = c.needed;
    record.confirmed_as_checked_option = c.c_checked;
    StatusStyleTable table;
    fill_status_styles(table, record);
    std::string looks;
    for (const StatusStyle& style : table.styles)
      looks += std::string(looks.empty() ? "" : " ") + style.color_word + (style.bold == 1 ? "+" : "");
    EXPECT_EQ(looks, c.looks) << c.color << c.bold << c.needed << c.c_checked;
    EXPECT_STREQ(table.outline_color, c.outline);
    EXPECT_STREQ(table.styles[kUnworked].class_name, "unworked");
    EXPECT_STREQ(table.styles[kWorked].class_name, "worked");
    EXPECT_STREQ(table.styles[kConfirmed].class_name, "confirmed");
    EXPECT_STREQ(table.styles[kChecked].class_name, "checked");
  }
}

TEST(StyleSheet, LegendNamesEachColorInThatColorFromCheckedDown) {
  SettingsRecord record;
  reset_to_defaults(record);
  record.emphasize_needed_option = 0;
  record.confirmed_as_checked_option = 0;
  StatusStyleTable table;
  std::string block = written([&](std::FILE* out) { write_style_sheet(out, table, record); });
  EXPECT_EQ(written([&](std::FILE* out) { write_legend(out, table); }),
            "<p></p>\n<table><tr>\n<td width='50'></td>\n"
            "<td width='200'>Checked: <strong><span style='color: Black'>Black</span></strong></td>\n"
            "<td width='200'>Confirmed: <strong><span style='color: Green'>Green</span></strong></td>\n"
            "<td width='200'>Worked: <strong><span style='color: Red'>Red</span></strong></td>\n"
            "<td width='200'>Unworked: <span style='color: Gray'>Gray</span></td>\n"
            "</tr></table>\n");
  EXPECT_NE(block.find("td.unworked {\n\theight: 20px;\n\twidth:  20px;\n\tcolor:  Gray;\n}\n"
                       "td.worked {\n\theight: 20px;\n\twidth:  20px;\n\tcolor:  Red;\n\tfont-weight: bold;\n}\n"),
            std::string::npos);
}

TEST(StyleSheet, OutlineAndFieldRules) {
  SettingsRecord record;
  reset_to_defaults(record);
  std::memcpy(record.lower_left_field, "EM", 3);
  set_print_format(record, kTabloid);
  StatusStyleTable table;
  std::string block = written([&](std::FILE* out) { write_style_sheet(out, table, record); });
  EXPECT_EQ(block.rfind("<style type='text/css'>\ntable {\n\tborder-collapse: collapse;\n}\ntd.unworked {\n", 0), 0u);
  EXPECT_EQ(occurrences(block, "border-top"), 1);
  EXPECT_NE(block.find("td.none {\n\tborder-top:    2px solid silver;\n\tborder-bottom: 2px solid silver;\n"
                       "\tborder-left:   2px solid silver;\n\tborder-right:  2px solid silver;\n}\n"),
            std::string::npos);
  EXPECT_EQ(occurrences(block, "background-image"), 24);
  const std::size_t first = block.find("td.EM {\n\tbackground-image:    url(images/EM.gif);\n"
                                       "\tbackground-repeat:   no-repeat; \n\tbackground-position: center;\n}\n");
  EXPECT_LT(first, block.find("td.EN {"));
  EXPECT_LT(block.find("td.EP {"), block.find("td.FM {"));
  EXPECT_NE(block.find("td.JP {"), std::string::npos);
  EXPECT_EQ(block.substr(block.size() - 9), "</style>\n");

  record.ffma_option = 1;
  record.color_option = 0;
  block = written([&](std::FILE* out) { write_style_sheet(out, table, record); });
  std::string selectors;
  for (std::size_t at = block.find("td."); at != std::string::npos; at = block.find("td.", at + 1))
    if (block.compare(block.find(" {", at) + 3, 11, "\tborder-top") == 0)
      selectors += block.substr(at + 3, block.find(" {", at) - at - 3) + " ";
  EXPECT_EQ(selectors, "none w e ew s sw se sew n nw ne new ns nsw nse nsew ");
  EXPECT_NE(block.find("td.sw {\n\tborder-top:    2px solid silver;\n\tborder-bottom: 2px solid black;\n"
                       "\tborder-left:   2px solid black;\n\tborder-right:  2px solid silver;\n}\n"),
            std::string::npos);
}

}  // namespace
}  // namespace zelk

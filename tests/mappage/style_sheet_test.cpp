// The status looks that the options choose; the goldens hold whole style blocks and legends.
#include "mappage/style_sheet.h"

#include <string>

#include <gtest/gtest.h>

namespace zelk {
namespace {

TEST(StyleSheet, OptionsTransformTheBaseTables) {
  struct Case {
    int color, bold, needed, c_checked;
    const char* looks;  // unworked, worked, confirmed, checked; "+" is bold
    const char* outline;
  };
  for (Case c : {Case{1, 1, 1, 1, "Black+ Red+ Gray Gray", "blue"},  // the defaults
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
    std::string looks, classes;
    for (const StatusStyle& style : table.styles) {
      looks += std::string(looks.empty() ? "" : " ") + style.color_word + (style.bold == 1 ? "+" : "");
      classes += std::string(style.class_name) + " ";
    }
    EXPECT_EQ(looks, c.looks) << c.color << c.bold << c.needed << c.c_checked;
    EXPECT_EQ(classes, "unworked worked confirmed checked ");
    EXPECT_STREQ(table.outline_color, c.outline);
  }
}

}  // namespace
}  // namespace zelk

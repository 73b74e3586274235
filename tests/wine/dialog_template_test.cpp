// The in-memory templates read back word by word: the bits a created control
// no longer shows (scroll bars, borders, font name). Placement: win32_host_test.
#include "app/win32/dialog_template.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace zelk {
namespace {

struct Item {
  std::uint32_t style;
  int id;
  std::string window_class, title;
};

struct Dialog {
  std::uint32_t ex_style;
  std::string font;
  int points;
  std::vector<Item> items;
};

Dialog read_template(const DialogTemplate& dialog) {
  const std::vector<std::uint16_t>& words = dialog.words();
  std::size_t at = 0;
  auto word = [&] { return words.at(at++); };
  auto dword = [&] { return word() | static_cast<std::uint32_t>(word()) << 16; };
  auto text = [&] {  // "#102" for an ordinal
    std::string out;
    if (words.at(at) == 0xFFFF) return (word(), "#" + std::to_string(word()));
    for (std::uint16_t c = word(); c != 0; c = word()) out += static_cast<char>(c);
    return out;
  };
  Dialog out{};
  EXPECT_EQ(word(), 1);       // extended template version
  EXPECT_EQ(word(), 0xFFFF);  // and its signature
  dword();
  out.ex_style = dword();
  dword();
  int count = word();
  at += 4;  // position and size
  EXPECT_EQ(text(), "");  // menu
  EXPECT_EQ(text(), "");  // class
  text();
  out.points = word();
  at += 2;  // weight, italic and character set
  out.font = text();
  for (int i = 0; i < count; ++i) {
    at += at % 2;  // items start on a DWORD boundary
    Item item{};
    at += 4;  // help id, extended style
    item.style = dword();
    at += 4;  // position and size
    item.id = static_cast<int>(dword());
    item.window_class = text();
    item.title = text();
    EXPECT_EQ(word(), 0);  // creation data
    out.items.push_back(item);
  }
  EXPECT_EQ(at, words.size());
  return out;
}

TEST(DialogTemplate, MainDialogControlsInLayoutOrderWithTheirStyles) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  const Item expected[] = {
      {kChild | WS_TABSTOP | BS_PUSHBUTTON, 1004, "#128", "Input"},
      {kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 1001, "#133", ""},
      {kChild | WS_TABSTOP | WS_BORDER | ES_UPPERCASE | ES_AUTOHSCROLL, 1006, "#129", ""},
      {kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 1012, "#128", "Portrait"},
      {kChild | BS_AUTORADIOBUTTON, 1011, "#128", "Landscape"},
      {kChild | BS_AUTORADIOBUTTON, 1010, "#128", "17\" x 11\""},
      {kChild | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 1003, "#128", "Color"},
      {kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 1002, "#128", "Bold"},
      {kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 1016, "#128", "Needed/worked"},
      {kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 1013, "#128", "S = *"},
      {kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 1017, "#128", "C = S = *"},
      {kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 1015, "#128", "FFMA"},
      {kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 1, "#128", "Generate"},
      {kChild | WS_TABSTOP | BS_PUSHBUTTON, 1014, "#128", "View"},
      {kChild | WS_TABSTOP | BS_PUSHBUTTON, 1007, "#128", "Help"},
      {kChild | WS_TABSTOP | BS_PUSHBUTTON, 2, "#128", "Done"},
      {kChild | WS_BORDER | WS_VSCROLL | LBS_NOSEL | LBS_NOINTEGRALHEIGHT, 1005, "#131", ""},
      {kChild | BS_GROUPBOX, -1, "#128", "Print Format"},
      {kChild | WS_GROUP | SS_LEFT, -1, "#130", "Band"},
      {kChild | WS_GROUP | SS_LEFT, -1, "#130", "LL Field"},
  };
  Dialog main = read_template(build_dialog_template(main_dialog_layout()));
  EXPECT_EQ(main.font, "MS Shell Dlg");
  EXPECT_EQ(main.points, 8);
  EXPECT_EQ(main.ex_style, static_cast<std::uint32_t>(WS_EX_APPWINDOW));  // in the task bar
  ASSERT_EQ(main.items.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].title);
    EXPECT_EQ(main.items[i].style, expected[i].style);
    EXPECT_EQ(main.items[i].id, expected[i].id);
    EXPECT_EQ(main.items[i].window_class, expected[i].window_class);
    EXPECT_EQ(main.items[i].title, expected[i].title);
  }
}

TEST(DialogTemplate, AboutBoxShowsIcon102AndStaysOutOfTheTaskBar) {
  Dialog about = read_template(build_dialog_template(about_dialog_layout()));
  EXPECT_EQ(about.font, "MS Shell Dlg");
  EXPECT_EQ(about.ex_style, 0u);
  ASSERT_EQ(about.items.size(), 4u);
  EXPECT_EQ(about.items[0].window_class, "#130");
  EXPECT_EQ(about.items[0].title, "#102");
  EXPECT_EQ(about.items[0].style & SS_TYPEMASK, static_cast<std::uint32_t>(SS_ICON));
  EXPECT_EQ(about.items[3].id, IDOK);
  EXPECT_EQ(about.items[3].style & BS_TYPEMASK, static_cast<std::uint32_t>(BS_DEFPUSHBUTTON));
}

}  // namespace
}  // namespace zelk

// The in-memory templates read back word by word, as the dialog manager reads
// them: header, font and the item list with its alignment. Where the controls
// end up on screen is win32_host_test.cpp's business.
#include "app/win32/dialog_template.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace zelk {
namespace {

class TemplateReader {
 public:
  explicit TemplateReader(const DialogTemplate& dialog) : words_(dialog.words()) {}

  std::uint16_t word() { return words_.at(at_++); }
  std::uint32_t dword() {
    std::uint32_t low = word();
    return low | static_cast<std::uint32_t>(word()) << 16;
  }
  std::string text() {
    std::string out;
    for (std::uint16_t c = word(); c != 0; c = word()) out += static_cast<char>(c);
    return out;
  }
  // "#102" for an ordinal, else the text.
  std::string text_or_ordinal() {
    if (words_.at(at_) != 0xFFFF) return text();
    word();
    return "#" + std::to_string(word());
  }
  void align_dword() { at_ += at_ % 2; }
  bool at_end() const { return at_ == words_.size(); }

 private:
  const std::vector<std::uint16_t>& words_;
  std::size_t at_ = 0;
};

struct Item {
  std::uint32_t style;
  int x, y, width, height;
  int id;
  std::string window_class;
  std::string title;
};

struct Dialog {
  std::uint32_t ex_style, style;
  int width, height;
  std::string title, font;
  int points;
  std::vector<Item> items;
};

Dialog read_template(const DialogTemplate& dialog) {
  TemplateReader in(dialog);
  Dialog out{};
  EXPECT_EQ(in.word(), 1);       // extended template version
  EXPECT_EQ(in.word(), 0xFFFF);  // and its signature
  in.dword();
  out.ex_style = in.dword();
  out.style = in.dword();
  int count = in.word();
  in.word();
  in.word();
  out.width = static_cast<std::int16_t>(in.word());
  out.height = static_cast<std::int16_t>(in.word());
  EXPECT_EQ(in.text_or_ordinal(), "");  // menu
  EXPECT_EQ(in.text_or_ordinal(), "");  // class
  out.title = in.text();
  out.points = in.word();
  EXPECT_EQ(in.word(), FW_NORMAL);
  in.word();
  out.font = in.text();
  for (int i = 0; i < count; ++i) {
    in.align_dword();
    Item item{};
    in.dword();
    EXPECT_EQ(in.dword(), 0u);
    item.style = in.dword();
    item.x = static_cast<std::int16_t>(in.word());
    item.y = static_cast<std::int16_t>(in.word());
    item.width = static_cast<std::int16_t>(in.word());
    item.height = static_cast<std::int16_t>(in.word());
    item.id = static_cast<int>(in.dword());
    item.window_class = in.text_or_ordinal();
    item.title = in.text_or_ordinal();
    EXPECT_EQ(in.word(), 0);  // creation data
    out.items.push_back(item);
  }
  EXPECT_TRUE(in.at_end());
  return out;
}

TEST(DialogTemplate, MainDialogHeaderAndFont) {
  Dialog main = read_template(build_dialog_template(main_dialog_layout()));
  EXPECT_EQ(main.title, "ZELK to HTML Version 3.3");
  EXPECT_EQ(main.width, 322);
  EXPECT_EQ(main.height, 119);
  EXPECT_EQ(main.font, "MS Shell Dlg");
  EXPECT_EQ(main.points, 8);
  EXPECT_EQ(main.style & (DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU),
            static_cast<std::uint32_t>(DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
  EXPECT_EQ(main.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
  EXPECT_EQ(main.ex_style, static_cast<std::uint32_t>(WS_EX_APPWINDOW));
  ASSERT_EQ(main.items.size(), 20u);
  // Odd-length captions put the next item off a DWORD boundary: the reader
  // would have lost its place by the last one.
  const Item& last = main.items.back();
  EXPECT_EQ(last.title, "LL Field");
  EXPECT_EQ(last.window_class, "#130");
  EXPECT_EQ(last.x, 204);
  EXPECT_EQ(last.id, -1);
}

TEST(DialogTemplate, MainDialogControlsInLayoutOrderWithTheirStyles) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  struct Expected {
    int id;
    const char* window_class;
    DWORD style;
  };
  const Expected expected[] = {
      {1004, "#128", kChild | WS_TABSTOP | BS_PUSHBUTTON},
      {1001, "#133", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST},
      {1006, "#129", kChild | WS_TABSTOP | WS_BORDER | ES_UPPERCASE | ES_AUTOHSCROLL},
      {1012, "#128", kChild | WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON},
      {1011, "#128", kChild | BS_AUTORADIOBUTTON},
      {1010, "#128", kChild | BS_AUTORADIOBUTTON},
      {1003, "#128", kChild | WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX},
      {1002, "#128", kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
      {1016, "#128", kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
      {1013, "#128", kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
      {1017, "#128", kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
      {1015, "#128", kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
      {1, "#128", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
      {1014, "#128", kChild | WS_TABSTOP | BS_PUSHBUTTON},
      {1007, "#128", kChild | WS_TABSTOP | BS_PUSHBUTTON},
      {2, "#128", kChild | WS_TABSTOP | BS_PUSHBUTTON},
      {1005, "#131", kChild | WS_BORDER | WS_VSCROLL | LBS_NOSEL | LBS_NOINTEGRALHEIGHT},
      {-1, "#128", kChild | BS_GROUPBOX},
      {-1, "#130", kChild | WS_GROUP | SS_LEFT},
      {-1, "#130", kChild | WS_GROUP | SS_LEFT},
  };
  Dialog main = read_template(build_dialog_template(main_dialog_layout()));
  ASSERT_EQ(main.items.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(main.items[i].id, expected[i].id);
    EXPECT_EQ(main.items[i].window_class, expected[i].window_class);
    EXPECT_EQ(main.items[i].style, expected[i].style);
  }
}

TEST(DialogTemplate, AboutBoxHasTheProgramIconAndNoTaskBarEntry) {
  Dialog about = read_template(build_dialog_template(about_dialog_layout()));
  EXPECT_EQ(about.title, "About ZELK to HTML");
  EXPECT_EQ(about.width, 235);
  EXPECT_EQ(about.height, 55);
  EXPECT_EQ(about.font, "MS Shell Dlg");
  EXPECT_EQ(about.ex_style, 0u);
  ASSERT_EQ(about.items.size(), 4u);
  const Item& icon = about.items[0];
  EXPECT_EQ(icon.window_class, "#130");
  EXPECT_EQ(icon.title, "#102");
  EXPECT_EQ(icon.style & SS_TYPEMASK, static_cast<std::uint32_t>(SS_ICON));
  EXPECT_EQ(icon.x, 11);
  EXPECT_EQ(icon.y, 17);
  const Item& ok = about.items[3];
  EXPECT_EQ(ok.title, "OK");
  EXPECT_EQ(ok.id, IDOK);
  EXPECT_EQ(ok.style & BS_TYPEMASK, static_cast<std::uint32_t>(BS_DEFPUSHBUTTON));
}

}  // namespace
}  // namespace zelk

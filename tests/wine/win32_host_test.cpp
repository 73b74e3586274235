// What keys on the real dialog under Wine do not show: where each control sits, what it
// says and whether the tab order stops at it.
#include "app/win32/win32_host.h"

#include <gtest/gtest.h>

#include <span>

namespace zelk {
namespace {

// Looks at every control once they exist, then ends the dialog.
struct LayoutCheck : DialogEvents {
  Win32Host host{GetModuleHandleA(nullptr)};
  bool on_init_dialog() override {
    HWND dialog = host.main_window();
    const DialogLayout& layout = main_dialog_layout();
    RECT client, size{0, 0, layout.width, layout.height};
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &size);
    EXPECT_TRUE(EqualRect(&client, &size));
    for (const ControlLayout& c : std::span(layout.controls, layout.control_count)) {
      if (c.id == kIdStatic) continue;
      SCOPED_TRACE(c.id);
      HWND item = GetDlgItem(dialog, c.id);
      RECT expected{c.x, c.y, c.x + c.width, c.y + c.height}, actual{};
      MapDialogRect(dialog, &expected);
      GetWindowRect(item, &actual);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
      // A drop-down list's height is its open list's; the window is its field.
      if (c.kind == ControlKind::kDropDownList) expected.bottom = actual.bottom;
      EXPECT_TRUE(EqualRect(&actual, &expected)) << actual.left << "," << actual.top;
      char caption[256] = "";
      GetWindowTextA(item, caption, sizeof caption);
      EXPECT_STREQ(caption, c.caption);
      EXPECT_EQ((GetWindowLongA(item, GWL_STYLE) & WS_TABSTOP) != 0, c.tab_stop);
    }
    host.end_dialog(kIdDone);
    return true;
  }
  void on_command(int) override {}
  void on_selection_changed(int) override {}
  void on_system_command(unsigned) override {}
};

TEST(Win32Host, ControlsSitWhereTheLayoutPutsThem) {
  LayoutCheck check;
  EXPECT_EQ(check.host.run_main_dialog(check), kIdDone);
}

}  // namespace
}  // namespace zelk

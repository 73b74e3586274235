// What driving the real dialog under Wine does not show: where each control sits, each message box's kind,
// and names in any language as the controls hold them (UTF-16), given in the manifest's code page.
#include "app/win32/win32_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <span>
#include <string>

namespace zelk {
namespace {

std::string utf8_of(const wchar_t* text) {
  char utf8[1024] = "";
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

std::string window_text(HWND window) {
  wchar_t text[256] = L"";
  GetWindowTextW(window, text, 256);
  return utf8_of(text);
}

constexpr const char* kName = "Пётр Mañana 東京.csv";

class Win32HostTest : public testing::Test, DialogEvents {
 protected:
  void run(std::function<void()> check) {  // once the main dialog's controls exist
    check_ = std::move(check);
    EXPECT_EQ(host_.run_main_dialog(*this), kIdDone);
  }
  bool on_init_dialog() override {
    check_();
    host_.end_dialog(kIdDone);
    return true;
  }
  void on_command(int) override {}
  void on_selection_changed(int) override {}
  void on_system_command(unsigned) override {}
  HWND item(int id) { return GetDlgItem(host_.main_window(), id); }
  Win32Host host_{GetModuleHandleA(nullptr)};
  std::function<void()> check_;
};

TEST_F(Win32HostTest, ControlsSitWhereTheLayoutPutsThem) {
  run([&] {
    HWND dialog = host_.main_window();
    const DialogLayout& layout = main_dialog_layout();
    RECT client, size{0, 0, layout.width, layout.height};
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &size);
    EXPECT_TRUE(EqualRect(&client, &size));
    for (const ControlLayout& c : std::span(layout.controls, layout.control_count)) {
      if (c.id == kIdStatic) continue;
      SCOPED_TRACE(c.id);
      RECT expected{c.x, c.y, c.x + c.width, c.y + c.height}, actual{};
      MapDialogRect(dialog, &expected);
      GetWindowRect(item(c.id), &actual);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
      // A drop-down list's height is its open list's; the window is its field.
      if (c.kind == ControlKind::kDropDownList) expected.bottom = actual.bottom;
      EXPECT_TRUE(EqualRect(&actual, &expected)) << actual.left << "," << actual.top << " " << actual.right;
      EXPECT_EQ(window_text(item(c.id)), c.caption);
      EXPECT_EQ((GetWindowLongA(item(c.id), GWL_STYLE) & WS_TABSTOP) != 0, c.tab_stop);
    }
  });
}

TEST_F(Win32HostTest, ListBoxShowsNamesInAnyLanguage) {
  run([&] {
    host_.list_add(kIdInputList, kName);
    wchar_t shown[64] = L"";
    SendMessageW(item(kIdInputList), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(shown));
    EXPECT_EQ(utf8_of(shown), kName);
  });
}

// Read from a timer inside the message box's modal loop, which then closes it.
HICON shown_icon = nullptr;
std::string shown_text;
void CALLBACK look_at_box(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowA(nullptr, "zelk2html");
  if (box == nullptr || !IsWindowVisible(box)) return;
  KillTimer(nullptr, timer);
  shown_text = window_text(GetDlgItem(box, 0xFFFF));
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
      shown_icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST(Win32Host, MessageBoxesShowTheirKindsIconAndOkAlone) {
  Win32Host host(GetModuleHandleA(nullptr));
  for (auto [icon, system_icon] : {std::pair{MessageIcon::kError, IDI_ERROR}, {MessageIcon::kWarning, IDI_WARNING},
                                   {MessageIcon::kInformation, IDI_INFORMATION}}) {
    SetTimer(nullptr, 0, 20, look_at_box);
    host.message_box(std::string("ERROR: Could not open input file ") + kName, "zelk2html", icon);
    EXPECT_EQ(shown_text, std::string("ERROR: Could not open input file ") + kName);
    EXPECT_EQ(shown_icon, LoadIconA(nullptr, system_icon));
  }
}

}  // namespace
}  // namespace zelk

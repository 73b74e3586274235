// What keys on the real dialog under Wine do not show: where each control sits, what it
// says and whether the tab order stops at it.
#include "app/win32/win32_host.h"
#include "app/win32/code_page_text.h"
#include "platform/file_paths.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <cerrno>
#include <cstdio>
#include <span>

namespace zelk {
namespace {

// What a screen reader hears a control called. Wine 8 keeps no annotations
// (SetHwndPropStr: E_NOTIMPL): there only the names of captions answer.
const bool kAnnotates = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") == nullptr;
std::string spoken_name(HWND control) {
  IAccessible* object = nullptr;
  // The import library and uuid both define IID_IAccessible.
  AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object));
  VARIANT self{};
  self.vt = VT_I4;
  BSTR name = nullptr;
  if (object != nullptr) {
    object->get_accName(self, &name);
    object->Release();
  }
  const std::string said = name != nullptr ? code_page_text(name) : "";
  SysFreeString(name);
  return said;
}

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
      if (*c.caption != '\0' || kAnnotates) {
        EXPECT_EQ(spoken_name(item), accessible_name(layout, c));
      }
    }
    host.end_dialog(kIdDone);
    return true;
  }
  void on_command(int) override {}
  void on_selection_changed(int) override {}
  void on_system_command(unsigned) override {}
  void on_files_dropped(const std::vector<std::string>&) override {}
};

TEST(Win32Host, ControlsSitWhereTheLayoutPutsThem) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // for the names' annotations
  LayoutCheck check;
  EXPECT_EQ(check.host.run_main_dialog(check), kIdDone);
}

// In the process's code page: UTF-8 under the manifest, a Western 1252 before Windows 10 1903.
TEST(CodePageText, ConvertsInTheProcesssCodePage) {
  EXPECT_EQ(GetACP(), 65001u);
  EXPECT_EQ(code_page_text(L"M\u00fcller.csv") + code_page_text(L"M\u00fcller \u0416", 1252),
            "M\xc3\xbcller.csvM\xfcller ?");
  EXPECT_EQ(wide_text("M\xfcller", 1252) + wide_text("\xd0\x96"), L"M\u00fcller\u0416");
}

// A listing a spreadsheet holds open is named so in Windows' words, not as one we may not read.
TEST(SystemReason, SaysAFileIsInUse) {
  HANDLE held = CreateFileA("held.csv", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  errno = 0;
  EXPECT_EQ(std::fopen("held.csv", "rb"), nullptr);
  const std::error_code reason = system_reason(std::error_code(errno, std::generic_category()));
  CloseHandle(held);
  EXPECT_EQ(reason, std::error_code(ERROR_SHARING_VIOLATION, std::system_category())) << reason.message();
}

}  // namespace
}  // namespace zelk

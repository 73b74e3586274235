// The Windows front end on real windows under Wine. What run.sh proves by
// driving the dialog (open-file dialog, tab order, default button, the About
// entry of the system menu, the version record) is not repeated here. Steps
// run from a timer inside the modal loop, so a step that opens a modal box is
// followed, inside that box's loop, by the next.
#include "app/win32/win32_host.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zelk {
namespace {

std::string window_text(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// A visible top-level window of this thread: the one titled `title`, or with
// a null title any dialog box other than `except`.
HWND find_window(const char* title, HWND except = nullptr) {
  struct Search {
    const char* title;
    HWND except, found;
  } search{title, except, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        char name[16] = "";
        GetClassNameA(window, name, sizeof name);
        bool match = s->title ? window_text(window) == s->title : std::string(name) == "#32770";
        if (!IsWindowVisible(window) || window == s->except || !match) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A step returns false to be tried again at the next tick (a window that has
// not appeared yet).
using Step = std::function<bool()>;

class ScriptedEvents : public DialogEvents {
 public:
  static constexpr int kEndedByScript = 42;

  ScriptedEvents(Win32Host& host, std::vector<Step> steps) : host_(host), steps_(std::move(steps)) {}

  bool on_init_dialog() override {
    current_ = this;
    SetTimer(host_.main_window(), 1, 20, &ScriptedEvents::tick);
    return true;
  }
  void on_command(int id) override { log.push_back("command " + std::to_string(id)); }
  void on_selection_changed(int id) override { log.push_back("selection " + std::to_string(id)); }
  void on_system_command(unsigned command) override { log.push_back("system " + std::to_string(command)); }

  std::vector<std::string> log;
  bool stalled = false;

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    ScriptedEvents& self = *current_;
    HWND main = self.host_.main_window();
    if (self.next_ < self.steps_.size() && !self.stalled) {
      std::size_t step = self.next_++;  // first: the step may run a modal loop
      if (!self.steps_[step]()) {
        self.next_ = step;
        self.stalled = ++self.tries_ > 250;
      }
      return;
    }
    // Boxes a failed step left open are cancelled before the dialog ends.
    if (HWND box = find_window(nullptr, main)) {
      PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    KillTimer(main, 1);
    self.host_.end_dialog(kEndedByScript);
  }

  static inline ScriptedEvents* current_ = nullptr;
  Win32Host& host_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int tries_ = 0;
};

class Win32HostTest : public testing::Test {
 protected:
  std::vector<std::string> run(std::vector<Step> steps) {
    ScriptedEvents events(host_, std::move(steps));
    EXPECT_EQ(host_.run_main_dialog(events), ScriptedEvents::kEndedByScript);
    EXPECT_FALSE(events.stalled);
    return events.log;
  }
  HWND item(int id) { return GetDlgItem(host_.main_window(), id); }

  Win32Host host_{GetModuleHandleA(nullptr)};
};

struct Placement {
  int id;
  RECT dialog_units;  // left, top, right, bottom; a drop-down list's bottom is its field's
};

const Placement kPlacements[] = {
    {1004, {12, 12, 62, 24}},   {1001, {12, 36, 78, 0}},    {1006, {126, 36, 192, 48}},
    {1012, {18, 72, 58, 82}},   {1011, {18, 84, 68, 94}},   {1010, {18, 96, 63, 106}},
    {1003, {108, 72, 141, 82}}, {1002, {108, 84, 137, 94}}, {1016, {108, 96, 176, 106}},
    {1013, {180, 72, 213, 82}}, {1017, {180, 84, 228, 94}}, {1015, {180, 96, 209, 106}},
    {1, {258, 12, 306, 24}},    {1014, {258, 36, 308, 50}}, {1007, {258, 60, 308, 72}},
    {2, {258, 84, 308, 96}},    {1005, {72, 12, 222, 24}},
};

TEST_F(Win32HostTest, MainDialogIsLaidOutInDialogUnitsWithItsFont) {
  run({[&]() -> bool {
    HWND dialog = host_.main_window();
    EXPECT_EQ(window_text(dialog), "ZELK to HTML Version 3.3");
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU);
    RECT client, size{0, 0, 322, 119};
    GetClientRect(dialog, &client);
    MapDialogRect(dialog, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    for (const Placement& p : kPlacements) {
      RECT expected = p.dialog_units, actual{};
      MapDialogRect(dialog, &expected);
      GetWindowRect(item(p.id), &actual);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
      if (p.dialog_units.bottom == 0) expected.bottom = actual.bottom;
      EXPECT_TRUE(EqualRect(&actual, &expected)) << p.id << " at " << actual.left << "," << actual.top << " to "
                                                 << actual.right << "," << actual.bottom;
    }
    // 8 points at the screen's resolution.
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    return true;
  }});
}

TEST_F(Win32HostTest, ClicksKeysAndSystemCommandsReachTheEventsButSettingControlsDoesNot) {
  std::vector<std::string> log = run({
      [&]() -> bool {
        host_.combo_add(1001, "6 M (50 MHz)");
        host_.combo_add(1001, "2 M (144 MHz)");
        host_.set_edit_text(1006, "FN");
        host_.set_checked(1003, true);
        SendMessageA(item(1003), BM_CLICK, 0, 0);
        EXPECT_FALSE(host_.is_checked(1003));
        SendMessageA(item(1010), BM_CLICK, 0, 0);
        SetFocus(item(1001));
        PostMessageA(item(1001), WM_KEYDOWN, VK_DOWN, 0);
        return true;
      },
      [&]() -> bool {
        EXPECT_EQ(host_.combo_selection(1001), 0);
        SetFocus(item(1006));
        host_.set_edit_text(1006, "");
        for (char c : std::string("em")) PostMessageA(item(1006), WM_CHAR, c, 0);
        PostMessageA(item(1006), WM_KEYDOWN, VK_RETURN, 0);  // the default button
        return true;
      },
      [&]() -> bool {
        EXPECT_EQ(host_.edit_text(1006), "EM");  // the box takes capitals only
        PostMessageA(item(1006), WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageA(host_.main_window(), WM_SYSCOMMAND, 16 | 3, 0);
        return true;
      },
      []() -> bool { return true; },
  });
  EXPECT_EQ(log, (std::vector<std::string>{"command 1003", "command 1010", "selection 1001", "command 1",
                                           "system 19", "command 2"}));
}

TEST_F(Win32HostTest, TooltipsSubclassTheirControlsAndShowWhileThePointerRests) {
  run({
      [&]() -> bool {
        host_.add_tooltip(1003, "Color output");
        host_.add_tooltip(1001, "Select VHF Band");
        HWND tip = host_.tooltip_window();
        EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        EXPECT_TRUE(SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)));
        EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
        EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(item(1003)));
        // The pointer comes to rest on "Color": only the control sees the
        // move; the subclass passes it on to the tooltip.
        RECT box;
        GetWindowRect(item(1003), &box);
        POINT inside{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
        SetCursorPos(inside.x, inside.y);
        ScreenToClient(item(1003), &inside);
        PostMessageA(item(1003), WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
        return true;
      },
      [&]() -> bool {
        return IsWindowVisible(host_.tooltip_window()) && window_text(host_.tooltip_window()) == "Color output";
      },
  });
}

TEST_F(Win32HostTest, SystemMenuSeparatorWindowIconsAndDragIcon) {
  run({[&]() -> bool {
    host_.append_system_menu(16, "&About ZELK to HTML...");
    HMENU menu = GetSystemMenu(host_.main_window(), FALSE);
    EXPECT_NE(GetMenuState(menu, GetMenuItemCount(menu) - 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);
    // String 103 of the resources says the same as the entry.
    char resource[64] = "";
    LoadStringA(GetModuleHandleA(nullptr), kAboutMenuString, resource, sizeof resource);
    EXPECT_STREQ(resource, kAboutMenuText);

    host_.set_window_icons(102);
    auto icon = [&](WPARAM which) {
      return reinterpret_cast<HICON>(SendMessageA(host_.main_window(), WM_GETICON, which, 0));
    };
    EXPECT_NE(icon(ICON_BIG), nullptr);
    EXPECT_NE(icon(ICON_SMALL), nullptr);
    EXPECT_NE(icon(ICON_BIG), icon(ICON_SMALL));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(host_.main_window(), WM_QUERYDRAGICON, 0, 0)), icon(ICON_BIG));
    return true;
  }});
}

// The icon of a message box: the one static control that shows an icon.
HICON message_box_icon(HWND box) {
  HICON found = nullptr;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM data) -> BOOL {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return TRUE;
        *reinterpret_cast<HICON*>(data) = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(Win32HostTest, MessageBoxesHaveTextTitleTheirIconAndOkAlone) {
  for (auto [icon, system_icon] : {std::pair{MessageIcon::kError, IDI_ERROR}, {MessageIcon::kWarning, IDI_WARNING},
                                   {MessageIcon::kInformation, IDI_INFORMATION}}) {
    run({
        [&]() -> bool {
          host_.message_box("ERROR: Didn't select a band.", "zelk2html", icon);
          return true;
        },
        [&]() -> bool {
          HWND box = find_window("zelk2html");
          if (box == nullptr) return false;
          EXPECT_EQ(window_text(GetDlgItem(box, 0xFFFF)), "ERROR: Didn't select a band.");
          EXPECT_EQ(message_box_icon(box), LoadIconA(nullptr, system_icon));
          EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);
          PostMessageA(box, WM_COMMAND, IDOK, 0);
          return true;
        },
    });
  }
}

TEST(OpenFileName, FiltersEndWithAnEmptyPairAndTheOptionsAreTheInputCommands) {
  OpenFileRequest request;
  request.title = "Input CSV File";
  request.filters = {{"CSV Files", "*.csv;"}, {"All Files", "*.*"}};
  request.default_extension = "csv";
  std::string filter = open_file_filter(request);
  EXPECT_EQ(filter, std::string("CSV Files\0*.csv;\0All Files\0*.*\0\0", 32));
  char file[MAX_PATH] = "";
  OPENFILENAMEA dialog = open_file_name(request, filter, file, nullptr);
  EXPECT_EQ(dialog.nFilterIndex, 1u);
  EXPECT_STREQ(dialog.lpstrDefExt, "csv");
  EXPECT_EQ(dialog.Flags, static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER));
}

TEST(Win32Platform, FileTestsAndFilesWithoutVersionRecord) {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / ("zelk-win32-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(folder);
  std::string page = (folder / "grids.html").string();
  if (std::FILE* f = std::fopen(page.c_str(), "w")) std::fclose(f);
  Win32Host host(GetModuleHandleA(nullptr));
  EXPECT_TRUE(host.file_exists(page));
  EXPECT_FALSE(host.file_exists(folder.string()));
  EXPECT_FALSE(host.file_exists((folder / "other.html").string()));
  EXPECT_FALSE(host.shell_open((folder / "other.html").string()));
  EXPECT_FALSE(host.version_record(page).has_value());
  std::error_code ec;
  fs::remove_all(folder, ec);
}

TEST(Win32Platform, MinimizedIconIsDrawnCentred) {
  // A fully opaque black icon, so that its edges show where it went.
  std::vector<BYTE> and_mask(32 * 32 / 8, 0x00), xor_mask(32 * 32 / 8, 0x00);
  HICON icon = CreateIcon(GetModuleHandleA(nullptr), 32, 32, 1, 1, and_mask.data(), xor_mask.data());
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 65, 49);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT client{0, 0, 65, 49};
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  draw_centred_icon(dc, client, icon, 32, 32);
  RECT drawn{65, 49, 0, 0};
  for (int y = 0; y < 49; ++y)
    for (int x = 0; x < 65; ++x)
      if (GetPixel(dc, x, y) == RGB(0, 0, 0)) {
        drawn = {std::min<LONG>(drawn.left, x), std::min<LONG>(drawn.top, y), std::max<LONG>(drawn.right, x + 1),
                 std::max<LONG>(drawn.bottom, y + 1)};
      }
  // (65 - 32 + 1) / 2 = 17 and (49 - 32 + 1) / 2 = 9.
  RECT expected{17, 9, 49, 41};
  EXPECT_TRUE(EqualRect(&drawn, &expected)) << drawn.left << "," << drawn.top << " to " << drawn.right << ","
                                            << drawn.bottom;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DestroyIcon(icon);
}

}  // namespace
}  // namespace zelk

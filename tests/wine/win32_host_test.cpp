// The Windows front end on real windows: the main dialog as Windows lays it
// out from the template, the controls' operations, the routing of clicks,
// keys and system commands, tooltips, icons, the system boxes and the
// program's own path and version record. Each scripted step runs from a timer
// inside the dialog's modal loop, so a step that opens a modal box is
// followed, inside that box's loop, by the next step.
#include "app/win32/win32_host.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <chrono>
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

std::string class_name(HWND window) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// A step returns false to be tried again at the next tick (a window that has
// not appeared yet); a script that stalls ends the dialog after a while.
using Step = std::function<bool()>;

class ScriptedEvents : public DialogEvents {
 public:
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
    if (self.next_ < self.steps_.size() && !self.stalled) {
      std::size_t step = self.next_;
      // Moved on before running it: the step may open a modal box whose
      // loop runs the next steps.
      ++self.next_;
      if (self.steps_[step]()) {
        self.tries_ = 0;
      } else {
        self.next_ = step;
        self.stalled = ++self.tries_ > 250;
      }
      return;
    }
    // Done, or stuck: boxes still open are cancelled before the dialog ends,
    // so that a failing script cannot leave a modal loop running.
    if (close_other_windows(self.host_.main_window())) return;
    KillTimer(self.host_.main_window(), 1);
    self.host_.end_dialog(kEndedByScript);
  }

  static bool close_other_windows(HWND main) {
    struct Search {
      HWND main;
      bool found;
    } search{main, false};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          if (window != s->main && IsWindowVisible(window) && class_name(window) == "#32770") {
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            s->found = true;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  static inline ScriptedEvents* current_ = nullptr;
  Win32Host& host_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int tries_ = 0;

 public:
  static constexpr int kEndedByScript = 42;
};

class Win32HostTest : public testing::Test {
 protected:
  // Runs the main dialog through `steps`; they have all run when it returns.
  std::vector<std::string> run(std::vector<Step> steps) {
    ScriptedEvents events(host_, std::move(steps));
    EXPECT_EQ(host_.run_main_dialog(events), ScriptedEvents::kEndedByScript);
    EXPECT_FALSE(events.stalled);
    return events.log;
  }

  HWND item(int id) { return GetDlgItem(host_.main_window(), id); }

  Win32Host host_{GetModuleHandleA(nullptr)};
};

// The visible top-level window of this thread with `title`, or null.
HWND find_window(const char* title) {
  struct Search {
    const char* title;
    HWND found;
  } search{title, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (IsWindowVisible(window) && window_text(window) == s->title) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Placement {
  int id;
  const char* window_class;
  const char* caption;
  RECT dialog_units;  // left, top, right, bottom
  DWORD style;        // bits that must be set
  DWORD absent;       // bits that must be clear
};

// The controls as the layout table has them. A drop-down list's window is
// only as high as its selection field, so its height is not compared; scroll
// bars and borders are the controls' own business once created (a border
// becomes a sunken edge), so the template test looks at those.
const Placement kPlacements[] = {
    {1004, "Button", "Input", {12, 12, 62, 24}, WS_TABSTOP | BS_PUSHBUTTON, BS_DEFPUSHBUTTON},
    {1001, "ComboBox", "", {12, 36, 78, 0}, WS_TABSTOP | CBS_DROPDOWNLIST, CBS_SORT},
    {1006, "Edit", "", {126, 36, 192, 48}, WS_TABSTOP | ES_UPPERCASE | ES_AUTOHSCROLL, 0},
    {1012, "Button", "Portrait", {18, 72, 58, 82}, WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON, 0},
    {1011, "Button", "Landscape", {18, 84, 68, 94}, BS_AUTORADIOBUTTON, WS_TABSTOP | WS_GROUP},
    {1010, "Button", "17\" x 11\"", {18, 96, 63, 106}, BS_AUTORADIOBUTTON, WS_TABSTOP | WS_GROUP},
    {1003, "Button", "Color", {108, 72, 141, 82}, WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0},
    {1002, "Button", "Bold", {108, 84, 137, 94}, WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {1016, "Button", "Needed/worked", {108, 96, 176, 106}, WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {1013, "Button", "S = *", {180, 72, 213, 82}, WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {1017, "Button", "C = S = *", {180, 84, 228, 94}, WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {1015, "Button", "FFMA", {180, 96, 209, 106}, WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {1, "Button", "Generate", {258, 12, 306, 24}, WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {1014, "Button", "View", {258, 36, 308, 50}, WS_TABSTOP, 0},
    {1007, "Button", "Help", {258, 60, 308, 72}, WS_TABSTOP, 0},
    {2, "Button", "Done", {258, 84, 308, 96}, WS_TABSTOP, 0},
    {1005, "ListBox", "", {72, 12, 222, 24}, LBS_NOSEL, WS_TABSTOP},
};

TEST_F(Win32HostTest, MainDialogIsLaidOutAsItsLayoutSays) {
  run({[&]() -> bool {
    HWND dialog = host_.main_window();
    EXPECT_EQ(window_text(dialog), "ZELK to HTML Version 3.3");
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_NE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0);

    RECT client;
    GetClientRect(dialog, &client);
    RECT size{0, 0, 322, 119};
    MapDialogRect(dialog, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    for (const Placement& p : kPlacements) {
      SCOPED_TRACE(p.id);
      HWND control = item(p.id);
      EXPECT_NE(control, nullptr);
      if (control == nullptr) continue;
      EXPECT_STRCASEEQ(class_name(control).c_str(), p.window_class);
      EXPECT_EQ(window_text(control), p.caption);
      RECT expected = p.dialog_units;
      MapDialogRect(dialog, &expected);
      RECT actual;
      GetWindowRect(control, &actual);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
      EXPECT_EQ(actual.left, expected.left);
      EXPECT_EQ(actual.top, expected.top);
      EXPECT_EQ(actual.right, expected.right);
      if (p.dialog_units.bottom != 0) {
        EXPECT_EQ(actual.bottom, expected.bottom);
      }
      DWORD control_style = GetWindowLongA(control, GWL_STYLE);
      EXPECT_EQ(control_style & p.style, p.style);
      EXPECT_EQ(control_style & p.absent, 0u);
    }
    for (int id : {1006, 1005}) {
      EXPECT_TRUE((GetWindowLongA(item(id), GWL_STYLE) & WS_BORDER) ||
                  (GetWindowLongA(item(id), GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
          << id;
    }

    // 8 points at the screen's resolution, in the face the template names
    // or the one the system substitutes for it.
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);

    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));

    // Tab order: the layout's order, one stop for the radio group, no list box.
    std::vector<int> order;
    HWND at = item(1004);
    do {
      order.push_back(GetDlgCtrlID(at));
      at = GetNextDlgTabItem(dialog, at, FALSE);
    } while (at != item(1004) && order.size() < 20);
    EXPECT_EQ(order, (std::vector<int>{1004, 1001, 1006, 1012, 1003, 1002, 1016, 1013, 1017, 1015, 1, 1014, 1007, 2}));
    return true;
  }});
}

TEST_F(Win32HostTest, ControlsTakeAndGiveBackTheirState) {
  run({[&]() -> bool {
    host_.list_add(1005, "grids.csv");
    host_.list_add(1005, "other.csv");
    EXPECT_EQ(host_.list_count(1005), 2);
    host_.list_remove(1005, 0);
    EXPECT_EQ(host_.list_count(1005), 1);

    for (const char* band : {"6 M", "2 M", "222"}) host_.combo_add(1001, band);
    EXPECT_EQ(host_.combo_selection(1001), -1);
    host_.combo_select(1001, 2);
    EXPECT_EQ(host_.combo_selection(1001), 2);
    EXPECT_EQ(window_text(item(1001)), "222");
    host_.combo_select(1001, -1);
    EXPECT_EQ(host_.combo_selection(1001), -1);

    host_.set_edit_text(1006, "EM");
    EXPECT_EQ(host_.edit_text(1006), "EM");
    host_.set_edit_text(1006, "");
    EXPECT_EQ(host_.edit_text(1006), "");

    host_.set_checked(1011, true);
    EXPECT_TRUE(host_.is_checked(1011));
    host_.set_checked(1011, false);
    EXPECT_FALSE(host_.is_checked(1011));

    host_.enable(1014, false);
    EXPECT_FALSE(IsWindowEnabled(item(1014)));
    host_.enable(1014, true);
    EXPECT_TRUE(IsWindowEnabled(item(1014)));
    return true;
  }});
}

TEST_F(Win32HostTest, ClicksKeysAndSystemCommandsReachTheEvents) {
  std::vector<std::string> log = run({
      [&]() -> bool {
        for (const char* band : {"6 M", "2 M"}) host_.combo_add(1001, band);
        // Setting text or a check mark is not a user's action.
        host_.set_edit_text(1006, "FN");
        host_.set_checked(1003, true);
        SendMessageA(item(1003), BM_CLICK, 0, 0);  // a real click unchecks it
        EXPECT_FALSE(host_.is_checked(1003));
        SendMessageA(item(1010), BM_CLICK, 0, 0);
        SetFocus(item(1001));
        PostMessageA(item(1001), WM_KEYDOWN, VK_DOWN, 0);
        return true;
      },
      [&]() -> bool {
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
      [&]() -> bool { return true; },
  });
  EXPECT_EQ(log, (std::vector<std::string>{"command 1003", "command 1010", "selection 1001", "command 1",
                                           "system 19", "command 2"}));
}

TEST_F(Win32HostTest, TooltipsSubclassTheirControlsAndShowOnHover) {
  run({
      [&]() -> bool {
        host_.add_tooltip(1003, "Color output");
        host_.add_tooltip(1001, "Select VHF Band");
        HWND tip = host_.tooltip_window();
        EXPECT_STREQ(class_name(tip).c_str(), "tooltips_class32");
        EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
        char text[80] = "";
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.lpszText = text;
        EXPECT_TRUE(SendMessageA(tip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)));
        EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
        EXPECT_EQ(tool.uId, reinterpret_cast<UINT_PTR>(item(1003)));
        EXPECT_STREQ(text, "Color output");
        return true;
      },
      [&]() -> bool {
        // The pointer comes to rest on "Color": the control's own mouse
        // move, seen by the tooltip through the subclass, brings the tip up
        // once the pointer has stayed there for the initial delay.
        RECT box;
        GetWindowRect(item(1003), &box);
        POINT inside{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
        SetCursorPos(inside.x, inside.y);
        ScreenToClient(item(1003), &inside);
        PostMessageA(item(1003), WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
        return true;
      },
      [&]() -> bool {
        char text[80] = "";
        GetWindowTextA(host_.tooltip_window(), text, sizeof text);
        return IsWindowVisible(host_.tooltip_window()) && std::string(text) == "Color output";
      },
  });
}

TEST_F(Win32HostTest, SystemMenuEntryAndIcons) {
  run({[&]() -> bool {
    EXPECT_TRUE(host_.has_system_menu());
    host_.append_system_menu(16, "&About ZELK to HTML...");
    HMENU menu = GetSystemMenu(host_.main_window(), FALSE);
    int count = GetMenuItemCount(menu);
    EXPECT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), 16u);
    char text[64] = "";
    GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About ZELK to HTML...");
    EXPECT_NE(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, 0u);

    host_.set_window_icons(102);
    auto big = reinterpret_cast<HICON>(SendMessageA(host_.main_window(), WM_GETICON, ICON_BIG, 0));
    auto small = reinterpret_cast<HICON>(SendMessageA(host_.main_window(), WM_GETICON, ICON_SMALL, 0));
    EXPECT_NE(big, nullptr);
    EXPECT_NE(small, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(host_.main_window(), WM_QUERYDRAGICON, 0, 0)), big);
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(small, &info));
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXSMICON));
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    return true;
  }});
}

// The icon of a message box, found as the one static control that shows one.
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

TEST_F(Win32HostTest, MessageBoxesCarryTextTitleAndIcon) {
  struct Case {
    MessageIcon icon;
    LPCSTR system_icon;
  };
  for (Case c : {Case{MessageIcon::kError, IDI_ERROR}, Case{MessageIcon::kWarning, IDI_WARNING},
                 Case{MessageIcon::kInformation, IDI_INFORMATION}}) {
    run({
        [&]() -> bool {
          host_.message_box("ERROR: Didn't select a band.", "zelk2html", c.icon);
          return true;
        },
        [&]() -> bool {
          HWND box = find_window("zelk2html");
          if (box == nullptr) return false;
          EXPECT_EQ(window_text(GetDlgItem(box, 0xFFFF)), "ERROR: Didn't select a band.");
          EXPECT_EQ(message_box_icon(box), LoadIconA(nullptr, c.system_icon));
          EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr);  // OK alone
          PostMessageA(box, WM_COMMAND, IDOK, 0);
          return true;
        },
    });
  }
}

class TempFolder {
 public:
  TempFolder() : path_(std::filesystem::temp_directory_path() / ("zelk-win32-" + std::to_string(GetCurrentProcessId()))) {
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string file(const std::string& name, const std::string& content = "") const {
    std::string path = (path_ / name).string();
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fputs(content.c_str(), f);
      std::fclose(f);
    }
    return path;
  }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

OpenFileRequest input_request(const std::string& initial_path) {
  OpenFileRequest request;
  request.title = "Input CSV File";
  request.filters = {{"CSV Files", "*.csv;"}, {"All Files", "*.*"}};
  request.default_extension = "csv";
  request.initial_path = initial_path;
  return request;
}

TEST(OpenFileFilter, PairsEachTerminatedAndTheListEndedOnceMore) {
  EXPECT_EQ(open_file_filter(input_request("")), std::string("CSV Files\0*.csv;\0All Files\0*.*\0\0", 32));
}

TEST(OpenFileName, CarriesTitleFiltersDefaultExtensionAndOptions) {
  OpenFileRequest request = input_request("C:\\Logs\\grids.csv");
  std::string filter = open_file_filter(request);
  char file[MAX_PATH] = "C:\\Logs\\grids.csv";
  OPENFILENAMEA dialog = open_file_name(request, filter, file, nullptr);
  EXPECT_STREQ(dialog.lpstrTitle, "Input CSV File");
  EXPECT_STREQ(dialog.lpstrFilter, "CSV Files");
  EXPECT_EQ(dialog.nFilterIndex, 1u);
  EXPECT_STREQ(dialog.lpstrDefExt, "csv");
  EXPECT_EQ(dialog.lpstrFile, file);
  EXPECT_EQ(dialog.nMaxFile, static_cast<DWORD>(MAX_PATH));
  EXPECT_EQ(dialog.Flags, static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER));
}

TEST_F(Win32HostTest, OpenFileDialogGivesTheChosenPathOrNothing) {
  TempFolder folder;
  std::string listing = folder.file("grids.csv", "Grid,2M\r\nFN42,C\r\n");
  std::optional<std::string> chosen, cancelled = "not asked";
  run({
      [&]() -> bool {
        chosen = host_.open_file_dialog(input_request(listing));
        return true;
      },
      [&]() -> bool {
        HWND dialog = find_window("Input CSV File");
        if (dialog == nullptr) return false;
        HWND types = GetDlgItem(dialog, 0x470);  // cmb1, the file types
        EXPECT_EQ(SendMessageA(types, CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(SendMessageA(types, CB_GETCURSEL, 0, 0), 0);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 0x410)));  // chx1, read-only
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
      },
      [&]() -> bool {
        cancelled = host_.open_file_dialog(input_request(""));
        return true;
      },
      [&]() -> bool {
        HWND dialog = find_window("Input CSV File");
        if (dialog == nullptr) return false;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
      },
  });
  ASSERT_TRUE(chosen.has_value());
  EXPECT_STRCASEEQ(chosen->c_str(), listing.c_str());
  EXPECT_FALSE(cancelled.has_value());
}

TEST_F(Win32HostTest, AboutBoxOpensModallyAndOkClosesIt) {
  bool closed = false;
  run({
      [&]() -> bool {
        host_.run_about_box();
        closed = true;
        return true;
      },
      [&]() -> bool {
        HWND about = find_window("About ZELK to HTML");
        if (about == nullptr) return false;
        EXPECT_FALSE(IsWindowEnabled(host_.main_window()));  // modal
        EXPECT_EQ(SendMessageA(about, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
        SendMessageA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
        return true;
      },
  });
  EXPECT_TRUE(closed);
}

TEST(Win32Platform, ProgramPathAndItsVersionRecord) {
  Win32Host host(GetModuleHandleA(nullptr));
  std::optional<std::string> path = host.program_path();
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(path->substr(1, 2), ":\\");
  EXPECT_STRCASEEQ(path->substr(path->size() - 20).c_str(), "zelk_win32_tests.exe");
  std::optional<VersionRecord> version = host.version_record(*path);
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->signature, 0xFEEF04BDu);
  EXPECT_EQ(version->file_version_ms, 0x00030003u);
  EXPECT_EQ(version->file_version_ls, 0x00000001u);
}

TEST(Win32Platform, FilesWithoutVersionRecordAndFileTests) {
  TempFolder folder;
  Win32Host host(GetModuleHandleA(nullptr));
  std::string text = folder.file("notes.txt", "no version here");
  EXPECT_FALSE(host.version_record(text).has_value());
  EXPECT_FALSE(host.version_record(folder.path() + "\\missing.exe").has_value());
  EXPECT_TRUE(host.file_exists(text));
  EXPECT_FALSE(host.file_exists(folder.path()));
  EXPECT_FALSE(host.file_exists(folder.path() + "\\missing.html"));
  EXPECT_FALSE(host.shell_open(folder.path() + "\\missing.html"));
}

TEST(Win32Platform, MinimizedIconIsDrawnCentred) {
  // A fully opaque black icon, so its edges show exactly where it went.
  std::vector<BYTE> and_mask(32 * 32 / 8, 0x00), xor_mask(32 * 32 / 8, 0x00);
  HICON icon = CreateIcon(GetModuleHandleA(nullptr), 32, 32, 1, 1, and_mask.data(), xor_mask.data());
  ASSERT_NE(icon, nullptr);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 65, 49);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT client{0, 0, 65, 49};
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  draw_centred_icon(dc, client, icon, 32, 32);
  RECT drawn{65, 49, -1, -1};
  for (int y = 0; y < 49; ++y)
    for (int x = 0; x < 65; ++x)
      if (GetPixel(dc, x, y) == RGB(0, 0, 0)) {
        drawn.left = std::min<LONG>(drawn.left, x);
        drawn.top = std::min<LONG>(drawn.top, y);
        drawn.right = std::max<LONG>(drawn.right, x + 1);
        drawn.bottom = std::max<LONG>(drawn.bottom, y + 1);
      }
  // (65 - 32 + 1) / 2 = 17 and (49 - 32 + 1) / 2 = 9.
  EXPECT_EQ(drawn.left, 17);
  EXPECT_EQ(drawn.top, 9);
  EXPECT_EQ(drawn.right, 49);
  EXPECT_EQ(drawn.bottom, 41);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  DestroyIcon(icon);
}

}  // namespace
}  // namespace zelk

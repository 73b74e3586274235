// The Windows front end: DialogHost over the Win32 API itself. The dialogs are
// built in memory from the layouts in res/ (dialog_template.h); icon 102,
// string 103 and the version record come from the program's resources
// (res/zelk2html.rc.in). Message boxes, the open-file dialog and the shell
// are the system's own; the user's folders are the system's known folders.
//
//   Win32Host host(instance);
//   return CzelkApp().run(host);
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "app/dialog_host.h"

struct IAccPropServices;

namespace zelk {

class Win32Host : public DialogHost {
 public:
  // `instance` holds the resources: the icon and string 103.
  explicit Win32Host(HINSTANCE instance);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  std::optional<std::string> program_path() override;
  std::optional<VersionRecord> version_record(const std::string& file) override;
  std::optional<UserFolders> user_folders() override;
  void init_common_controls() override;
  void message_box(const std::string& text, const std::string& title, MessageIcon icon) override;
  std::optional<std::string> open_file_dialog(const OpenFileRequest& request) override;
  bool file_exists(const std::string& path) override;
  bool shell_open(const std::string& target) override;
  void list_add(int id, const std::string& text) override;
  void list_remove(int id, int row) override;
  int list_count(int id) override;
  void combo_add(int id, const std::string& text) override;
  void combo_select(int id, int row) override;
  int combo_selection(int id) override;
  std::string edit_text(int id) override;
  void set_edit_text(int id, const std::string& text) override;
  bool is_checked(int id) override;
  void set_checked(int id, bool checked) override;
  void enable(int id, bool enabled) override;
  void add_tooltip(int id, const std::string& text) override;
  bool has_system_menu() override;
  void append_system_menu(int command, const std::string& text) override;
  void set_window_icons(int icon_id) override;
  int run_main_dialog(DialogEvents& events) override;
  void run_about_box() override;
  void end_dialog(int result) override;

  // The main dialog while it runs, else null.
  HWND main_window() const { return window_; }

 private:
  static INT_PTR CALLBACK main_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static INT_PTR CALLBACK about_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR handle(UINT message, WPARAM wparam, LPARAM lparam);
  HWND control(int id) const { return GetDlgItem(window_, id); }
  void release_icons();
  // Names the controls without a caption for screen readers, and takes the
  // names back before the window goes.
  void annotate_names();
  void clear_names();

  HINSTANCE instance_;
  DialogEvents* events_ = nullptr;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  HICON big_icon_ = nullptr;
  HICON small_icon_ = nullptr;
  IAccPropServices* accessible_names_ = nullptr;
};

// The filter pairs as GetOpenFileNameA takes them: name and pattern, each
// terminated, the whole list ended by one more terminator.
std::string open_file_filter(const OpenFileRequest& request);

// Room for any path the open-file dialog can return (Windows' longest, 32,767
// UTF-16 units, up to three bytes each in UTF-8): a path too long for the
// program comes back and gets the dialog's message, where a smaller buffer
// would make the dialog fail ("buffer too small") and choose nothing.
inline constexpr DWORD kChosenPathBytes = 3 * 32767 + 1;

// The open-file dialog's parameters; `file` (kChosenPathBytes) receives the
// chosen path and must start with the initial one. The strings are kept in
// `filter` and `request`, which must outlive the result.
OPENFILENAMEA open_file_name(const OpenFileRequest& request, const std::string& filter, char* file, HWND owner);

// The arguments the program was started with, after its own name, in UTF-8.
std::vector<std::string> command_line_arguments();

// Paints `icon` centred in `client` over a background erased as for a
// minimized window.
void draw_centred_icon(HDC dc, const RECT& client, HICON icon, int icon_width, int icon_height);

}  // namespace zelk

#include "app/win32/win32_host.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <span>
#include <vector>

#include "app/win32/code_page_text.h"
#include "app/win32/icon_position.h"
#include "app/win32/dialog_template.h"

namespace zelk {

namespace {

UINT message_box_icon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError: return MB_ICONERROR;
    case MessageIcon::kWarning: return MB_ICONWARNING;
    case MessageIcon::kInformation: return MB_ICONINFORMATION;
  }
  return 0;
}

bool is_drop_down_list(int id) {
  const DialogLayout& layout = main_dialog_layout();
  for (int i = 0; i < layout.control_count; ++i)
    if (layout.controls[i].id == id) return layout.controls[i].kind == ControlKind::kDropDownList;
  return false;
}

HICON load_icon(HINSTANCE instance, int icon_id, int width_metric, int height_metric) {
  return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(icon_id), IMAGE_ICON,
                                       GetSystemMetrics(width_metric), GetSystemMetrics(height_metric), 0));
}

// The folder as the user's profile names it now, wherever it was moved
// (Documents on another drive, a roaming AppData on a server).
std::string known_folder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path))) folder = code_page_text(path);
  CoTaskMemFree(path);
  return folder;
}

// The controls a screen reader could not name from their own text.
bool needs_accessible_name(const ControlLayout& c) { return c.id != kIdStatic && *c.caption == '\0'; }

}  // namespace

std::vector<std::string> command_line_arguments() {
  // The wide command line, in the code page the program's "A" calls use.
  int count = 0;
  LPWSTR* given = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; given != nullptr && i < count; ++i) args.push_back(code_page_text(given[i]));
  LocalFree(given);
  return args;
}

Win32Host::Win32Host(HINSTANCE instance) : instance_(instance) {}

Win32Host::~Win32Host() { release_icons(); }

void Win32Host::release_icons() {
  if (big_icon_ != nullptr) DestroyIcon(big_icon_);
  if (small_icon_ != nullptr) DestroyIcon(small_icon_);
  big_icon_ = small_icon_ = nullptr;
}

std::optional<std::string> Win32Host::program_path() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  // A full buffer means the path was cut short.
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::string(path, length);
}

std::optional<VersionRecord> Win32Host::version_record(const std::string& file) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data())) return std::nullopt;
  void* fixed = nullptr;
  UINT fixed_size = 0;
  char root[] = "\\";
  if (!VerQueryValueA(data.data(), root, &fixed, &fixed_size) || fixed == nullptr ||
      fixed_size < sizeof(VS_FIXEDFILEINFO))
    return std::nullopt;
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
  return VersionRecord{info->dwSignature, info->dwFileVersionMS, info->dwFileVersionLS};
}

std::optional<UserFolders> Win32Host::user_folders() {
  std::string app_data = known_folder(FOLDERID_RoamingAppData);
  std::string documents = known_folder(FOLDERID_Documents);
  if (app_data.empty() || documents.empty()) return std::nullopt;
  return UserFolders{app_data, documents};
}

void Win32Host::init_common_controls() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
}

void Win32Host::message_box(const std::string& text, const std::string& title, MessageIcon icon) {
  MessageBoxA(window_, text.c_str(), title.c_str(), MB_OK | message_box_icon(icon));
}

std::string open_file_filter(const OpenFileRequest& request) {
  std::string filter;
  for (const FileFilter& pair : request.filters) {
    filter += pair.name;
    filter += '\0';
    filter += pair.pattern;
    filter += '\0';
  }
  filter += '\0';
  return filter;
}

OPENFILENAMEA open_file_name(const OpenFileRequest& request, const std::string& filter, char* file, HWND owner) {
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = kChosenPathBytes;
  dialog.lpstrTitle = request.title.c_str();
  if (!request.initial_folder.empty()) dialog.lpstrInitialDir = request.initial_folder.c_str();
  dialog.lpstrDefExt = request.default_extension.empty() ? nullptr : request.default_extension.c_str();
  if (request.file_must_exist) dialog.Flags |= OFN_FILEMUSTEXIST;
  if (request.hide_read_only) dialog.Flags |= OFN_HIDEREADONLY;
  if (request.explorer_style) dialog.Flags |= OFN_EXPLORER;
  return dialog;
}

std::optional<std::string> Win32Host::open_file_dialog(const OpenFileRequest& request) {
  std::string file = request.initial_path.substr(0, kChosenPathBytes - 1);
  file.resize(kChosenPathBytes, '\0');
  std::string filter = open_file_filter(request);
  OPENFILENAMEA dialog = open_file_name(request, filter, file.data(), window_);
  if (!GetOpenFileNameA(&dialog)) return std::nullopt;  // cancelled
  file.resize(std::strlen(file.c_str()));
  return file;
}

bool Win32Host::file_exists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32Host::shell_open(const std::string& target) {
  HINSTANCE result = ShellExecuteA(window_, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

void Win32Host::list_add(int id, const std::string& text) {
  SendMessageA(control(id), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Win32Host::list_remove(int id, int row) { SendMessageA(control(id), LB_DELETESTRING, row, 0); }

int Win32Host::list_count(int id) {
  LRESULT count = SendMessageA(control(id), LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<int>(count);
}

void Win32Host::combo_add(int id, const std::string& text) {
  HWND combo = control(id);
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  // The layout fixes the closed box's width; the open list is as wide as its
  // longest caption, with room for the scroll bar.
  HDC dc = GetDC(combo);
  HGDIOBJ old_font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(combo, WM_GETFONT, 0, 0)));
  SIZE size{};
  const std::wstring caption = wide_text(text);
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  SelectObject(dc, old_font);
  ReleaseDC(combo, dc);
  const LRESULT wanted = size.cx + GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXEDGE);
  if (wanted > SendMessageA(combo, CB_GETDROPPEDWIDTH, 0, 0)) SendMessageA(combo, CB_SETDROPPEDWIDTH, wanted, 0);
}

void Win32Host::combo_select(int id, int row) { SendMessageA(control(id), CB_SETCURSEL, row, 0); }

int Win32Host::combo_selection(int id) {
  LRESULT row = SendMessageA(control(id), CB_GETCURSEL, 0, 0);
  return row == CB_ERR ? -1 : static_cast<int>(row);
}

std::string Win32Host::edit_text(int id) {
  HWND edit = control(id);
  int length = GetWindowTextLengthA(edit);
  std::string text(length + 1, '\0');
  int copied = GetWindowTextA(edit, text.data(), length + 1);
  text.resize(copied > 0 ? copied : 0);
  return text;
}

void Win32Host::set_edit_text(int id, const std::string& text) { SetWindowTextA(control(id), text.c_str()); }

bool Win32Host::is_checked(int id) { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }

void Win32Host::set_checked(int id, bool checked) {
  CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32Host::enable(int id, bool enabled) { EnableWindow(control(id), enabled ? TRUE : FALSE); }

void Win32Host::add_tooltip(int id, const std::string& text) {
  if (tooltip_ == nullptr) {
    // Shown whether or not the dialog is the active window.
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    if (tooltip_ == nullptr) return;
  }
  TOOLINFOA tool{};
  // The size every version of the common controls accepts, with or without
  // the manifest that selects version 6.
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  // Identified by the control's window and subclassing it: the tooltip sees
  // the pointer's moves over the control without the dialog relaying them.
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(control(id));
  tool.hinst = instance_;
  std::string copy = text;  // the control copies it; the API wants it writable
  tool.lpszText = copy.data();
  SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

bool Win32Host::has_system_menu() {
  return (GetWindowLongA(window_, GWL_STYLE) & WS_SYSMENU) != 0 && GetSystemMenu(window_, FALSE) != nullptr;
}

void Win32Host::append_system_menu(int command, const std::string& text) {
  HMENU menu = GetSystemMenu(window_, FALSE);
  if (menu == nullptr) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(command), text.c_str());
}

void Win32Host::set_window_icons(int icon_id) {
  release_icons();
  big_icon_ = load_icon(instance_, icon_id, SM_CXICON, SM_CYICON);
  small_icon_ = load_icon(instance_, icon_id, SM_CXSMICON, SM_CYSMICON);
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_));
}

int Win32Host::run_main_dialog(DialogEvents& events) {
  DialogTemplate layout = build_dialog_template(main_dialog_layout());
  events_ = &events;
  INT_PTR result =
      DialogBoxIndirectParamA(instance_, layout.get(), nullptr, &Win32Host::main_proc, reinterpret_cast<LPARAM>(this));
  // The tooltip was the dialog's child window and went with it.
  events_ = nullptr;
  window_ = nullptr;
  tooltip_ = nullptr;
  return static_cast<int>(result);
}

void Win32Host::run_about_box() {
  DialogTemplate layout = build_dialog_template(about_dialog_layout());
  DialogBoxIndirectParamA(instance_, layout.get(), window_, &Win32Host::about_proc, 0);
}

// Screen readers name a control without a caption after the static text just
// before it in the template; here the labels come last. An annotation names
// each such control where it stands, as its label or tooltip does.
void Win32Host::annotate_names() {
  // Without COM on this thread the controls stay as the system names them.
  if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                              reinterpret_cast<void**>(&accessible_names_))))
    return;
  const DialogLayout& layout = main_dialog_layout();
  for (const ControlLayout& c : std::span(layout.controls, layout.control_count))
    if (needs_accessible_name(c))
      accessible_names_->SetHwndPropStr(control(c.id), OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                        wide_text(accessible_name(layout, c)).c_str());
}

void Win32Host::clear_names() {
  if (accessible_names_ == nullptr) return;
  const DialogLayout& layout = main_dialog_layout();
  for (const ControlLayout& c : std::span(layout.controls, layout.control_count))
    if (needs_accessible_name(c))
      accessible_names_->ClearHwndProps(control(c.id), OBJID_CLIENT, CHILDID_SELF, &PROPID_ACC_NAME, 1);
  accessible_names_->Release();
  accessible_names_ = nullptr;
}

void Win32Host::end_dialog(int result) {
  if (window_ != nullptr) EndDialog(window_, result);
}

INT_PTR CALLBACK Win32Host::main_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lparam);
    reinterpret_cast<Win32Host*>(lparam)->window_ = window;
  }
  auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrA(window, DWLP_USER));
  if (host == nullptr || host->events_ == nullptr) return FALSE;
  return host->handle(message, wparam, lparam);
}

INT_PTR Win32Host::handle(UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      annotate_names();
      DragAcceptFiles(window_, TRUE);
      // TRUE lets the dialog manager put the focus on the first tab stop.
      return events_->on_init_dialog() ? TRUE : FALSE;

    case WM_DESTROY:
      clear_names();
      return FALSE;

    case WM_COMMAND: {
      int id = LOWORD(wparam);
      int code = HIWORD(wparam);
      // Enter arrives as the default button's id, Escape and the close box
      // as IDCANCEL, both with the code of a click.
      if (code == BN_CLICKED) {
        events_->on_command(id);
        return TRUE;
      }
      if (code == CBN_SELCHANGE && is_drop_down_list(id)) {
        events_->on_selection_changed(id);
        return TRUE;
      }
      return FALSE;
    }

    case WM_SYSCOMMAND:
      events_->on_system_command(static_cast<unsigned>(wparam));
      // Only the entry this program added is its own; everything else
      // (move, close, ...) still gets the system's handling.
      if ((wparam & 0xFFF0) == static_cast<WPARAM>(kAboutCommand)) return TRUE;
      return FALSE;

    case WM_PAINT:
      if (IsIconic(window_) && big_icon_ != nullptr) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        SendMessageA(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        RECT client;
        GetClientRect(window_, &client);
        draw_centred_icon(dc, client, big_icon_, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
        EndPaint(window_, &paint);
        return TRUE;
      }
      return FALSE;

    case WM_DROPFILES: {
      // In the process's code page, as the Open box gives a name.
      auto drop = reinterpret_cast<HDROP>(wparam);
      std::vector<std::string> paths(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0));
      for (UINT i = 0; i < paths.size(); ++i) {
        paths[i].resize(DragQueryFileA(drop, i, nullptr, 0) + 1);
        paths[i].resize(DragQueryFileA(drop, i, paths[i].data(), static_cast<UINT>(paths[i].size())));
      }
      DragFinish(drop);
      // While a modal box is open the window takes no choice, as it takes no click.
      if (IsWindowEnabled(window_)) events_->on_files_dropped(paths);
      return TRUE;
    }

    case WM_QUERYDRAGICON:
      // One of the few messages whose dialog result is the return value.
      return reinterpret_cast<INT_PTR>(big_icon_);

    default:
      return FALSE;
  }
}

INT_PTR CALLBACK Win32Host::about_proc(HWND window, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        EndDialog(window, LOWORD(wparam));
        return TRUE;
      }
      return FALSE;
    default: return FALSE;
  }
}

void draw_centred_icon(HDC dc, const RECT& client, HICON icon, int icon_width, int icon_height) {
  IconOrigin origin =
      centred_icon_origin(client.right - client.left, client.bottom - client.top, icon_width, icon_height);
  DrawIcon(dc, client.left + origin.left, client.top + origin.top, icon);
}

}  // namespace zelk

// The platform operations the dialog's behaviour needs, and nothing else.
// Each front end (gtk/, win32/, the scripted host of the tests) implements
// this interface and decides nothing: every message text, path rule and
// order of checks lives in the behaviour classes of app/.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/program_folders.h"
#include "conversion/settings_file.h"
#include "app/layouts.h"

namespace zelk {

enum class MessageIcon { kError, kWarning, kInformation };

struct FileFilter {
  std::string name;     // "CSV Files"
  std::string pattern;  // "*.csv;"
};

struct OpenFileRequest {
  std::string title;
  std::vector<FileFilter> filters;  // the first is preselected
  std::string default_extension;    // added to a typed name without extension
  std::string initial_path;         // the file name box starts with it
  std::string initial_folder;       // where the box opens when no file is given; "" for the host's choice
  bool file_must_exist = true;
  bool hide_read_only = true;
  bool explorer_style = true;
};

// What the main dialog answers to; CzelkDlg implements it, the host calls it.
class DialogEvents {
 public:
  virtual ~DialogEvents() = default;
  // The window and its controls exist; returns true to let the host put the
  // focus on the first tab stop.
  virtual bool on_init_dialog() = 0;
  // A button or check box was clicked (Escape and the close box arrive as
  // kIdDone, Enter as the default button unless another button has the focus).
  virtual void on_command(int id) = 0;
  // The selection of a drop-down list changed.
  virtual void on_selection_changed(int id) = 0;
  // A system-menu command (the About entry is kAboutCommand).
  virtual void on_system_command(unsigned command) = 0;
  // Things dropped on the window, in the system's order: file paths, and
  // nothing for a drop that held no file.
  virtual void on_files_dropped(const std::vector<std::string>& paths) = 0;
};

class DialogHost : public ProgramPlatform {
 public:
  // ProgramPlatform: program_path() and version_record(file).

  // The user's own folders, where an installed program keeps its settings
  // and pages; none where programs always live portable.
  virtual std::optional<UserFolders> user_folders() { return std::nullopt; }
  // Where the program reads its data and keeps the user's files.
  ProgramFolders program_folders() { return zelk::program_folders(program_path().value_or(""), user_folders()); }

  // Common controls, before any window exists.
  virtual void init_common_controls() = 0;

  // A modal box with one OK button, titled `title`; returns once dismissed.
  virtual void message_box(const std::string& text, const std::string& title, MessageIcon icon) = 0;
  // The chosen full path, or nothing when the user cancelled.
  virtual std::optional<std::string> open_file_dialog(const OpenFileRequest& request) = 0;
  virtual bool file_exists(const std::string& path) = 0;
  // Opens a file or web address with its default application.
  virtual bool shell_open(const std::string& target) = 0;

  // Controls of the main dialog, by id (app/layouts.h).
  virtual void list_add(int id, const std::string& text) = 0;
  virtual void list_remove(int id, int row) = 0;
  virtual int list_count(int id) = 0;
  virtual void combo_add(int id, const std::string& text) = 0;
  virtual void combo_select(int id, int row) = 0;  // -1 selects none
  virtual int combo_selection(int id) = 0;         // -1 when none
  virtual std::string edit_text(int id) = 0;
  virtual void set_edit_text(int id, const std::string& text) = 0;
  virtual bool is_checked(int id) = 0;
  virtual void set_checked(int id, bool checked) = 0;
  virtual void enable(int id, bool enabled) = 0;
  virtual void add_tooltip(int id, const std::string& text) = 0;
  // False where the window has no system menu a program can extend.
  virtual bool has_system_menu() = 0;
  virtual void append_system_menu(int command, const std::string& text) = 0;  // after a separator
  virtual void set_window_icons(int icon_id) = 0;

  // Builds the main dialog (layout 101), calls on_init_dialog, and routes the
  // window's events to `events` until end_dialog; returns its result.
  virtual int run_main_dialog(DialogEvents& events) = 0;
  // Shows the About box (layout 100) modally.
  virtual void run_about_box() = 0;
  // Ends the main dialog's modal loop.
  virtual void end_dialog(int result) = 0;
};

}  // namespace zelk

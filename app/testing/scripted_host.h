// A DialogHost that keeps every control in memory and answers the platform's
// questions from a script, so that tests drive the dialog as a person would
// (click, pick, type) without a window.
//
//   ScriptedHost host;
//   host.program = "/tmp/run/zelk2html";
//   CzelkDlg dialog(host, [] { return std::time_t{0}; });
//   dialog.do_modal();                         // runs on_init_dialog
//   host.click(kIdFfma);                       // toggles the box, then tells the dialog
//   host.chosen_files.push_back("/logs/grids.csv");
//   host.click(kIdInput);
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/dialog_host.h"

namespace zelk {

class ScriptedHost : public DialogHost {
 public:
  struct Message {
    std::string text;
    std::string title;
    MessageIcon icon;
  };

  // --- the script -------------------------------------------------------
  std::optional<std::string> program;               // program_path()
  std::optional<VersionRecord> version;             // for any file
  std::deque<std::optional<std::string>> chosen_files;  // answers of the open-file dialog; empty = cancel
  bool shell_succeeds = true;
  bool system_menu = true;
  // Runs inside run_main_dialog after on_init_dialog, as the user would.
  std::function<void(ScriptedHost&)> while_open;

  // --- what happened ----------------------------------------------------
  std::vector<std::string> calls;  // platform operations in order, by name
  std::vector<Message> messages;
  std::vector<OpenFileRequest> file_requests;
  std::vector<std::string> opened;  // shell_open targets, successful or not
  std::map<int, std::string> tooltips;
  std::vector<std::pair<int, std::string>> system_menu_entries;
  int window_icon = 0;
  bool focus_to_first_tab_stop = false;
  std::optional<int> dialog_result;
  int about_boxes = 0;

  // --- controls ---------------------------------------------------------
  std::map<int, std::vector<std::string>> lists;
  std::map<int, std::vector<std::string>> combo_rows;
  std::map<int, int> combo_selected;
  std::map<int, std::string> edits;
  std::map<int, bool> checks;
  std::set<int> disabled;

  // --- a person at the controls -----------------------------------------
  // Toggles a check box, selects a radio button (and clears its group), then
  // reports the click; a disabled button ignores it.
  void click(int id);
  void pick(int id, int row);               // a row of a drop-down list
  void type(int id, const std::string& text);  // replaces the edit box's text
  void choose_about();                      // the About entry of the menu
  const Message* last_message() const { return messages.empty() ? nullptr : &messages.back(); }

  // --- DialogHost -------------------------------------------------------
  std::optional<std::string> program_path() override;
  std::optional<VersionRecord> version_record(const std::string& file) override;
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

 private:
  DialogEvents* events_ = nullptr;
};

}  // namespace zelk

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

  // --- what happened ----------------------------------------------------
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
  void pick(int id, int row);                  // a row of a drop-down list
  void type(int id, const std::string& text);  // replaces the edit box's text
  void choose_about() { events_->on_system_command(kAboutCommand); }  // the About entry of the menu

  // --- DialogHost -------------------------------------------------------
  std::optional<std::string> program_path() override { return program; }
  std::optional<VersionRecord> version_record(const std::string&) override { return version; }
  void init_common_controls() override {}
  void message_box(const std::string& text, const std::string& title, MessageIcon icon) override {
    messages.push_back({text, title, icon});
  }
  std::optional<std::string> open_file_dialog(const OpenFileRequest& request) override;
  bool file_exists(const std::string& path) override;
  bool shell_open(const std::string& target) override {
    opened.push_back(target);
    return shell_succeeds;
  }
  void list_add(int id, const std::string& text) override { lists[id].push_back(text); }
  void list_remove(int id, int row) override;
  int list_count(int id) override { return static_cast<int>(lists[id].size()); }
  void combo_add(int id, const std::string& text) override { combo_rows[id].push_back(text); }
  void combo_select(int id, int row) override;
  int combo_selection(int id) override { return combo_selected.count(id) != 0 ? combo_selected[id] : -1; }
  std::string edit_text(int id) override { return edits[id]; }
  void set_edit_text(int id, const std::string& text) override { edits[id] = text; }
  bool is_checked(int id) override { return checks[id]; }
  void set_checked(int id, bool checked) override { checks[id] = checked; }
  void enable(int id, bool enabled) override {
    if (enabled) disabled.erase(id);
    else disabled.insert(id);
  }
  void add_tooltip(int id, const std::string& text) override { tooltips[id] = text; }
  bool has_system_menu() override { return system_menu; }
  void append_system_menu(int command, const std::string& text) override {
    system_menu_entries.emplace_back(command, text);
  }
  void set_window_icons(int icon_id) override { window_icon = icon_id; }
  int run_main_dialog(DialogEvents& events) override {
    events_ = &events;
    focus_to_first_tab_stop = events.on_init_dialog();
    return dialog_result.value_or(kIdDone);
  }
  void run_about_box() override { ++about_boxes; }
  void end_dialog(int result) override { dialog_result = result; }

 private:
  DialogEvents* events_ = nullptr;
};

}  // namespace zelk

// A DialogHost that keeps every control in memory and answers the platform's
// questions from a script, so tests drive the dialog as a person would
// (click, pick, type into `edits`) without a window.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/dialog_host.h"

namespace zelk {

class ScriptedHost : public DialogHost {
 public:
  std::optional<std::string> program;  // the script: what the platform answers
  std::optional<VersionRecord> version;
  std::vector<std::optional<std::string>> chosen_files;  // the open-file dialog's answers in turn; none left = cancel

  // What happened: message boxes as "icon title: text" lines, shell_open targets.
  std::string said;
  std::vector<OpenFileRequest> file_requests;
  std::vector<std::string> opened;
  std::optional<int> dialog_result;
  std::map<int, std::vector<std::string>> lists, combo_rows;  // the controls
  std::map<int, int> combo_selected;
  std::map<int, std::string> edits, tooltips;
  std::map<int, bool> checks, enabled;

  // Toggles a check box or selects a radio button (clearing its group), then
  // reports the click; a disabled button ignores it.
  void click(int id) {
    if (enabled.count(id) != 0 && !enabled[id]) return;
    auto kind = [&layout = main_dialog_layout()](int control) {
      for (int i = 0; i < layout.control_count; ++i)
        if (layout.controls[i].id == control) return layout.controls[i].kind;
      return ControlKind::kPushButton;
    };
    if (kind(id) == ControlKind::kCheckBox) checks[id] = !checks[id];
    if (kind(id) == ControlKind::kRadioButton) {
      for (auto& [other, checked] : checks) checked = checked && kind(other) != ControlKind::kRadioButton;
      checks[id] = true;
    }
    events_->on_command(id);
  }
  void drop(const std::vector<std::string>& paths) { events_->on_files_dropped(paths); }
  void pick(int id, int row) {
    combo_selected[id] = row;
    events_->on_selection_changed(id);
  }

  std::optional<std::string> program_path() override { return program; }
  std::optional<VersionRecord> version_record(const std::string&) override { return version; }
  std::optional<UserFolders> users;  // none: programs live portable
  std::optional<UserFolders> user_folders() override { return users; }
  void init_common_controls() override {}
  void message_box(const std::string& text, const std::string& title, MessageIcon icon) override {
    static const char* icons[] = {"error", "warning", "information"};
    said += std::string(icons[int(icon)]) + " " + title + ": " + text + "\n";
  }
  std::optional<std::string> open_file_dialog(const OpenFileRequest& request) override {
    file_requests.push_back(request);
    return file_requests.size() <= chosen_files.size() ? chosen_files[file_requests.size() - 1] : std::nullopt;
  }
  bool file_exists(const std::string& path) override {
    return std::filesystem::is_regular_file(path);
  }
  bool shell_open(const std::string& target) override {
    opened.push_back(target);
    return true;
  }
  void list_add(int id, const std::string& text) override { lists[id].push_back(text); }
  void list_remove(int id, int row) override { if (row < list_count(id)) lists[id].erase(lists[id].begin() + row); }
  int list_count(int id) override { return static_cast<int>(lists[id].size()); }
  void combo_add(int id, const std::string& text) override { combo_rows[id].push_back(text); }
  void combo_select(int id, int row) override { combo_selected[id] = row; }
  int combo_selection(int id) override { return combo_selected.count(id) != 0 ? combo_selected[id] : -1; }
  std::string edit_text(int id) override { return edits[id]; }
  void set_edit_text(int id, const std::string& text) override { edits[id] = text; }
  bool is_checked(int id) override { return checks[id]; }
  void set_checked(int id, bool checked) override { checks[id] = checked; }
  void enable(int id, bool on) override { enabled[id] = on; }
  void add_tooltip(int id, const std::string& text) override { tooltips[id] = text; }
  bool has_system_menu() override { return true; }
  void append_system_menu(int, const std::string&) override {}
  void set_window_icons(int) override {}
  int run_main_dialog(DialogEvents& events) override {
    (events_ = &events)->on_init_dialog();
    return dialog_result.value_or(kIdDone);
  }
  void run_about_box() override {}
  void end_dialog(int result) override { dialog_result = result; }

 private:
  DialogEvents* events_ = nullptr;
};

}  // namespace zelk

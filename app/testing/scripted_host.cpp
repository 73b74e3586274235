#include "app/testing/scripted_host.h"

#include <filesystem>

namespace zelk {

namespace {

const ControlLayout* control(int id) {
  const DialogLayout& layout = main_dialog_layout();
  for (int i = 0; i < layout.control_count; ++i)
    if (layout.controls[i].id == id) return &layout.controls[i];
  return nullptr;
}

bool is_radio(int id) {
  const ControlLayout* c = control(id);
  return c != nullptr && c->kind == ControlKind::kRadioButton;
}

}  // namespace

void ScriptedHost::click(int id) {
  if (disabled.count(id) != 0 || events_ == nullptr) return;
  const ControlLayout* c = control(id);
  if (c != nullptr && c->kind == ControlKind::kCheckBox) checks[id] = !checks[id];
  if (is_radio(id)) {
    for (auto& [other, checked] : checks)
      if (is_radio(other)) checked = false;
    checks[id] = true;
  }
  events_->on_command(id);
}

void ScriptedHost::pick(int id, int row) {
  combo_selected[id] = row;
  if (events_ != nullptr) events_->on_selection_changed(id);
}

void ScriptedHost::type(int id, const std::string& text) {
  std::string shown = text;
  const ControlLayout* c = control(id);
  if (c != nullptr && c->capitals)
    for (char& ch : shown)
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  edits[id] = shown;
}

void ScriptedHost::choose_about() {
  if (events_ != nullptr) events_->on_system_command(kAboutCommand);
}

std::optional<std::string> ScriptedHost::program_path() {
  calls.push_back("program_path");
  return program;
}

std::optional<VersionRecord> ScriptedHost::version_record(const std::string&) {
  calls.push_back("version_record");
  return version;
}

void ScriptedHost::init_common_controls() { calls.push_back("init_common_controls"); }

void ScriptedHost::message_box(const std::string& text, const std::string& title, MessageIcon icon) {
  calls.push_back("message_box");
  messages.push_back({text, title, icon});
}

std::optional<std::string> ScriptedHost::open_file_dialog(const OpenFileRequest& request) {
  calls.push_back("open_file_dialog");
  file_requests.push_back(request);
  if (chosen_files.empty()) return std::nullopt;
  std::optional<std::string> answer = chosen_files.front();
  chosen_files.pop_front();
  return answer;
}

bool ScriptedHost::file_exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool ScriptedHost::shell_open(const std::string& target) {
  opened.push_back(target);
  return shell_succeeds;
}

void ScriptedHost::list_add(int id, const std::string& text) { lists[id].push_back(text); }

void ScriptedHost::list_remove(int id, int row) {
  std::vector<std::string>& rows = lists[id];
  if (row >= 0 && row < static_cast<int>(rows.size())) rows.erase(rows.begin() + row);
}

int ScriptedHost::list_count(int id) { return static_cast<int>(lists[id].size()); }

void ScriptedHost::combo_add(int id, const std::string& text) { combo_rows[id].push_back(text); }

void ScriptedHost::combo_select(int id, int row) {
  combo_selected[id] = row >= 0 && row < static_cast<int>(combo_rows[id].size()) ? row : -1;
}

int ScriptedHost::combo_selection(int id) {
  auto it = combo_selected.find(id);
  return it == combo_selected.end() ? -1 : it->second;
}

std::string ScriptedHost::edit_text(int id) { return edits[id]; }

void ScriptedHost::set_edit_text(int id, const std::string& text) { edits[id] = text; }

bool ScriptedHost::is_checked(int id) { return checks[id]; }

void ScriptedHost::set_checked(int id, bool checked) { checks[id] = checked; }

void ScriptedHost::enable(int id, bool enabled) {
  if (enabled) disabled.erase(id);
  else disabled.insert(id);
}

void ScriptedHost::add_tooltip(int id, const std::string& text) {
  calls.push_back("add_tooltip");
  tooltips[id] = text;
}

bool ScriptedHost::has_system_menu() { return system_menu; }

void ScriptedHost::append_system_menu(int command, const std::string& text) {
  system_menu_entries.emplace_back(command, text);
}

void ScriptedHost::set_window_icons(int icon_id) { window_icon = icon_id; }

int ScriptedHost::run_main_dialog(DialogEvents& events) {
  calls.push_back("run_main_dialog");
  events_ = &events;
  focus_to_first_tab_stop = events.on_init_dialog();
  if (while_open) while_open(*this);
  return dialog_result.value_or(kIdDone);
}

void ScriptedHost::run_about_box() { ++about_boxes; }

void ScriptedHost::end_dialog(int result) { dialog_result = result; }

}  // namespace zelk

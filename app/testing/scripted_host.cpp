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

bool is_radio(int id) { return control(id) != nullptr && control(id)->kind == ControlKind::kRadioButton; }

}  // namespace

void ScriptedHost::click(int id) {
  if (disabled.count(id) != 0 || events_ == nullptr) return;
  if (control(id) != nullptr && control(id)->kind == ControlKind::kCheckBox) checks[id] = !checks[id];
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
  if (control(id) != nullptr && control(id)->capitals)
    for (char& ch : shown)
      if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  edits[id] = shown;
}

std::optional<std::string> ScriptedHost::open_file_dialog(const OpenFileRequest& request) {
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

void ScriptedHost::list_remove(int id, int row) {
  std::vector<std::string>& rows = lists[id];
  if (row >= 0 && row < static_cast<int>(rows.size())) rows.erase(rows.begin() + row);
}

void ScriptedHost::combo_select(int id, int row) {
  combo_selected[id] = row >= 0 && row < static_cast<int>(combo_rows[id].size()) ? row : -1;
}

}  // namespace zelk

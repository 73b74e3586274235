// The main dialog (layout 101): shows every choice in a control, writes each
// change straight into the settings record, and runs Input, Generate, View,
// Help and the About box. It talks to the platform only through DialogHost.
//
//   GtkHost host;                 // or the Win32 host, or a scripted one
//   CzelkDlg dialog(host);
//   dialog.do_modal();            // returns when Done, Escape or the close box ends it
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/dialog_host.h"
#include "app/tooltip_ctrl_ext.h"
#include "conversion/generate.h"
#include "conversion/page_clock.h"
#include "record/settings_record.h"

namespace zelk {

class CzelkDlg : public DialogEvents {
 public:
  using PageClock = std::function<std::time_t()>;

  explicit CzelkDlg(DialogHost& host, PageClock page_clock = page_time_now);

  // Starts with this listing chosen, as if Input had chosen it ("Open with").
  void choose_at_start(const std::string& listing) { listing_at_start_ = listing; }
  int do_modal();

  bool on_init_dialog() override;
  void on_command(int id) override;
  void on_selection_changed(int id) override;
  void on_system_command(unsigned command) override;
  void on_files_dropped(const std::vector<std::string>& paths) override;

  const SettingsRecord& settings() const { return record_; }
  const std::string& input_path() const { return input_path_; }
  const std::string& output_path() const { return output_path_; }

 private:
  void on_input();
  bool take_listing(const std::string& chosen);
  void on_generate();
  bool generate_all_bands(const GenerateRequest& request);
  void show_report(const RunReport& report, bool succeeded);
  // The page Generate writes with the current band: for every band, the contents page.
  std::string view_path() const;
  void on_view();
  void on_help();
  void show_options();
  void show_message(const std::string& text, MessageIcon icon);

  DialogHost& host_;
  PageClock page_clock_;
  int icon_ = kProgramIcon;
  std::string input_path_;   // at most kSystemPathLimit of the system's units
  std::string output_path_;  // likewise
  SettingsRecord record_;
  CToolTipCtrlExt tooltip_;
  std::string ll_field_text_;
  std::optional<std::string> listing_at_start_;
  // Where the program's data, the pages and the settings file are, as the
  // host gives them; the record's directory may come from a settings file
  // written elsewhere and names none of them.
  ProgramFolders folders_;
};

}  // namespace zelk

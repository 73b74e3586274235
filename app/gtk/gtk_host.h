// The Linux front end: DialogHost on GTK 3. It builds layouts 100 and 101
// from res/, shows GTK's message and file-chooser dialogs, and opens files
// with the desktop's default application.
//
// Linux has no system menu a program can extend; the entries meant for it go
// to the dialog's context menu (right click, the Menu key or Shift+F10).
// Minimized painting and the drag icon are the window manager's business.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <string>

#include "app/dialog_host.h"
#include "app/gtk/gtk_layout.h"

namespace zelk {

class GtkHost : public DialogHost {
 public:
  GtkHost() = default;
  ~GtkHost() override;
  GtkHost(const GtkHost&) = delete;
  GtkHost& operator=(const GtkHost&) = delete;

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

 private:
  struct Quiet;  // holds back notifications while the dialog sets a control

  // The window, its controls in tab order and its own signals, not yet shown.
  void create_main_window(const DialogLayout& layout);
  // Reports the control's clicks, toggles and choices to the events.
  void connect_control(const ControlLayout& control, GtkWidget* widget);
  GtkWidget* control(int id) const;
  GtkWidget* list_box(int id) const;
  void notify_command(int id);
  void notify_selection(int id);
  void show_context_menu(const GdkEvent* event);
  static gboolean on_key_press(GtkWidget*, GdkEventKey* event, gpointer host);
  static gboolean on_button_press(GtkWidget*, GdkEventButton* event, gpointer host);
  static gboolean on_delete(GtkWidget*, GdkEvent*, gpointer host);
  static void on_drop(GtkWidget*, GdkDragContext*, gint, gint, GtkSelectionData* data, guint, guint, gpointer host);

  DialogEvents* events_ = nullptr;
  GtkWidget* window_ = nullptr;
  GtkWidget* context_menu_ = nullptr;
  BuiltDialog main_;
  int quiet_ = 0;
  bool running_ = false;
  bool ended_ = false;
  int result_ = kIdDone;
};

}  // namespace zelk

#include "app/gtk/gtk_host.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "app/gtk/embedded_files.h"
#include "platform/file_paths.h"
#include "zelk_version.h"

namespace zelk {

namespace {

namespace fs = std::filesystem;

// GTK wants UTF-8; file names and listing text may hold other bytes.
std::string valid_utf8(const std::string& text) {
  gchar* valid = g_utf8_make_valid(text.c_str(), static_cast<gssize>(text.size()));
  std::string result = valid;
  g_free(valid);
  return result;
}

int id_of(gpointer widget) { return GPOINTER_TO_INT(g_object_get_data(G_OBJECT(widget), "zelk-id")); }

GdkPixbuf* program_icon(int size) {
  std::string name = "zelk2html-" + std::to_string(size) + ".png";
  const EmbeddedFile* file = embedded_file(name.c_str());
  if (file == nullptr) return nullptr;
  GInputStream* stream = g_memory_input_stream_new_from_data(file->bytes, static_cast<gssize>(file->size), nullptr);
  GdkPixbuf* pixbuf = gdk_pixbuf_new_from_stream(stream, nullptr, nullptr);
  g_object_unref(stream);
  return pixbuf;
}

// The edit box of the "LL Field" keeps capitals only, whatever is typed or pasted.
void insert_capitals(GtkEditable* editable, gchar* text, gint length, gint* position, gpointer data) {
  gchar* upper = g_utf8_strup(text, length);
  g_signal_handlers_block_by_func(editable, reinterpret_cast<gpointer>(insert_capitals), data);
  gtk_editable_insert_text(editable, upper, -1, position);
  g_signal_handlers_unblock_by_func(editable, reinterpret_cast<gpointer>(insert_capitals), data);
  g_signal_stop_emission_by_name(editable, "insert-text");
  g_free(upper);
}

// Windows patterns as GTK reads them: "*.*" means every file, and letters
// match either case, as they do on Windows.
std::string gtk_pattern(const std::string& pattern) {
  if (pattern == "*.*") return "*";
  std::string result;
  for (char c : pattern) {
    if (g_ascii_isalpha(c)) {
      result += '[';
      result += g_ascii_tolower(c);
      result += g_ascii_toupper(c);
      result += ']';
    } else {
      result += c;
    }
  }
  return result;
}

// "&About ..." marks its access key the Windows way; GTK uses "_".
std::string gtk_mnemonic(const std::string& text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') {
      result += '&';
      ++i;
    } else if (text[i] == '&') {
      result += '_';
    } else if (text[i] == '_') {
      result += "__";
    } else {
      result += text[i];
    }
  }
  return result;
}

bool is_regular_file(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace

struct GtkHost::Quiet {
  explicit Quiet(GtkHost& host) : host_(host) { ++host_.quiet_; }
  ~Quiet() { --host_.quiet_; }
  GtkHost& host_;
};

GtkHost::~GtkHost() { release_dialog(main_); }

std::optional<std::string> GtkHost::program_path() {
  std::string path = running_program_path();
  if (path.empty()) return std::nullopt;
  return path;
}

std::optional<VersionRecord> GtkHost::version_record(const std::string& file) {
  // Linux files carry no version record; the release number is compiled in.
  if (!is_regular_file(file)) return std::nullopt;
  return VersionRecord{kVersionSignature, (ZELK_VERSION_MAJOR << 16) | ZELK_VERSION_MINOR,
                       (ZELK_VERSION_PATCH << 16) | ZELK_VERSION_TWEAK};
}

std::optional<UserFolders> GtkHost::user_folders() {
  // GLib reads the desktop's names (XDG_CONFIG_HOME, user-dirs.dirs). Where
  // the desktop names no documents folder, the one xdg-user-dirs would make.
  const gchar* documents = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS);
  return UserFolders{g_get_user_config_dir(),
                     documents != nullptr ? documents : (fs::path(g_get_home_dir()) / "Documents").string()};
}

void GtkHost::init_common_controls() {
  GtkCssProvider* css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(css, dialog_css(main_dialog_layout()).c_str(), -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(css);
}

void GtkHost::message_box(const std::string& text, const std::string& title, MessageIcon icon) {
  GtkMessageType type = GTK_MESSAGE_INFO;
  const char* icon_name = "dialog-information";
  if (icon == MessageIcon::kError) {
    type = GTK_MESSAGE_ERROR;
    icon_name = "dialog-error";
  } else if (icon == MessageIcon::kWarning) {
    type = GTK_MESSAGE_WARNING;
    icon_name = "dialog-warning";
  }
  bool parent_shown = window_ != nullptr && gtk_widget_get_visible(window_);
  GtkWidget* box = gtk_message_dialog_new(parent_shown ? GTK_WINDOW(window_) : nullptr, GTK_DIALOG_MODAL, type,
                                          GTK_BUTTONS_OK, "%s", valid_utf8(text).c_str());
  gtk_window_set_title(GTK_WINDOW(box), valid_utf8(title).c_str());
  if (!parent_shown) gtk_window_set_position(GTK_WINDOW(box), GTK_WIN_POS_CENTER);
  // GTK's message dialogs no longer show their kind; the user should see it.
  // (set_image would also turn the box's kind into "other" for assistive tools.)
  GtkWidget* text_area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(box));
  GtkWidget* row = gtk_widget_get_parent(text_area);
  if (row != nullptr && GTK_IS_BOX(row)) {
    GtkWidget* image = gtk_image_new_from_icon_name(icon_name, GTK_ICON_SIZE_DIALOG);
    gtk_widget_set_valign(image, GTK_ALIGN_START);
    gtk_box_pack_start(GTK_BOX(row), image, FALSE, FALSE, 0);
    gtk_box_reorder_child(GTK_BOX(row), image, 0);
    gtk_widget_show(image);
  }
  gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
  gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
}

std::optional<std::string> GtkHost::open_file_dialog(const OpenFileRequest& request) {
  GtkWidget* chooser = gtk_file_chooser_dialog_new(valid_utf8(request.title).c_str(), GTK_WINDOW(window_),
                                                   GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel", GTK_RESPONSE_CANCEL,
                                                   "_Open", GTK_RESPONSE_ACCEPT, nullptr);
  gtk_dialog_set_default_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
  for (const FileFilter& wanted : request.filters) {
    GtkFileFilter* filter = gtk_file_filter_new();
    gtk_file_filter_set_name(filter, valid_utf8(wanted.name).c_str());
    gchar** patterns = g_strsplit(wanted.pattern.c_str(), ";", -1);
    for (gchar** p = patterns; *p != nullptr; ++p)
      if (**p != '\0') gtk_file_filter_add_pattern(filter, gtk_pattern(*p).c_str());
    g_strfreev(patterns);
    gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), filter);  // the first added is selected
  }
  if (!request.initial_path.empty()) {
    gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(chooser), request.initial_path.c_str());
  } else if (!request.initial_folder.empty()) {
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), request.initial_folder.c_str());
  } else {
    gchar* here = g_get_current_dir();
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), here);
    g_free(here);
  }

  std::optional<std::string> chosen;
  while (!chosen && gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
    gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
    if (name == nullptr) continue;
    std::string path = name;
    g_free(name);
    std::string base = fs::path(path).filename().string();
    if (!request.default_extension.empty() && base.find('.') == std::string::npos) {
      std::string with_extension = path + "." + request.default_extension;
      if (is_regular_file(with_extension) || !is_regular_file(path)) path = with_extension;
    }
    if (request.file_must_exist && !is_regular_file(path)) {
      GtkWidget* box = gtk_message_dialog_new(GTK_WINDOW(chooser), GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING,
                                              GTK_BUTTONS_OK, "%s\nFile not found.\nCheck the file name and try again.",
                                              valid_utf8(path).c_str());
      gtk_window_set_title(GTK_WINDOW(box), valid_utf8(request.title).c_str());
      gtk_dialog_run(GTK_DIALOG(box));
      gtk_widget_destroy(box);
      continue;
    }
    chosen = path;
  }
  gtk_widget_destroy(chooser);
  return chosen;
}

bool GtkHost::file_exists(const std::string& path) { return is_regular_file(path); }

bool GtkHost::shell_open(const std::string& target) {
  std::string uri;
  if (target.find("://") != std::string::npos) {
    uri = target;
  } else {
    std::error_code ec;
    fs::path absolute = fs::absolute(target, ec);
    if (ec) return false;
    gchar* file_uri = g_filename_to_uri(absolute.c_str(), nullptr, nullptr);
    if (file_uri == nullptr) return false;
    uri = file_uri;
    g_free(file_uri);
  }
  GdkAppLaunchContext* context = gdk_display_get_app_launch_context(gdk_display_get_default());
  GError* error = nullptr;
  gboolean launched = g_app_info_launch_default_for_uri(uri.c_str(), G_APP_LAUNCH_CONTEXT(context), &error);
  if (error != nullptr) {
    g_printerr("zelk2html: %s\n", error->message);
    g_error_free(error);
  }
  g_object_unref(context);
  return launched != FALSE;
}

GtkWidget* GtkHost::control(int id) const {
  auto it = main_.controls.find(id);
  return it == main_.controls.end() ? nullptr : it->second;
}

GtkWidget* GtkHost::list_box(int id) const {
  GtkWidget* scrolled = control(id);
  return scrolled == nullptr ? nullptr : list_in(scrolled);
}

void GtkHost::list_add(int id, const std::string& text) {
  GtkWidget* list = list_box(id);
  if (list == nullptr) return;
  GtkWidget* label = gtk_label_new(valid_utf8(text).c_str());
  gtk_label_set_xalign(GTK_LABEL(label), 0);
  gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
  gtk_list_box_insert(GTK_LIST_BOX(list), label, -1);
  gtk_widget_show_all(list);
}

void GtkHost::list_remove(int id, int row) {
  GtkWidget* list = list_box(id);
  if (list == nullptr) return;
  GtkListBoxRow* entry = gtk_list_box_get_row_at_index(GTK_LIST_BOX(list), row);
  if (entry != nullptr) gtk_widget_destroy(GTK_WIDGET(entry));
}

int GtkHost::list_count(int id) {
  GtkWidget* list = list_box(id);
  if (list == nullptr) return 0;
  GList* rows = gtk_container_get_children(GTK_CONTAINER(list));
  int count = static_cast<int>(g_list_length(rows));
  g_list_free(rows);
  return count;
}

void GtkHost::combo_add(int id, const std::string& text) {
  if (GtkWidget* combo = control(id)) gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(combo), valid_utf8(text).c_str());
}

void GtkHost::combo_select(int id, int row) {
  Quiet quiet(*this);
  if (GtkWidget* combo = control(id)) gtk_combo_box_set_active(GTK_COMBO_BOX(combo), row);
}

int GtkHost::combo_selection(int id) {
  GtkWidget* combo = control(id);
  return combo == nullptr ? -1 : gtk_combo_box_get_active(GTK_COMBO_BOX(combo));
}

std::string GtkHost::edit_text(int id) {
  GtkWidget* entry = control(id);
  return entry == nullptr ? std::string() : gtk_entry_get_text(GTK_ENTRY(entry));
}

void GtkHost::set_edit_text(int id, const std::string& text) {
  Quiet quiet(*this);
  if (GtkWidget* entry = control(id)) gtk_entry_set_text(GTK_ENTRY(entry), valid_utf8(text).c_str());
}

bool GtkHost::is_checked(int id) {
  GtkWidget* button = control(id);
  return button != nullptr && gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button));
}

void GtkHost::set_checked(int id, bool checked) {
  Quiet quiet(*this);
  GtkWidget* button = control(id);
  if (button == nullptr) return;
  auto clearer = main_.group_clearers.find(id);
  if (!checked && clearer != main_.group_clearers.end()) {
    // A radio button is cleared by selecting another; the group's hidden
    // button leaves all visible ones clear.
    if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button)))
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(clearer->second), TRUE);
    return;
  }
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button), checked);
}

void GtkHost::enable(int id, bool enabled) {
  if (GtkWidget* widget = control(id)) gtk_widget_set_sensitive(widget, enabled);
}

void GtkHost::add_tooltip(int id, const std::string& text) {
  if (GtkWidget* widget = control(id)) gtk_widget_set_tooltip_text(widget, valid_utf8(text).c_str());
}

bool GtkHost::has_system_menu() { return true; }

void GtkHost::append_system_menu(int command, const std::string& text) {
  if (window_ == nullptr) return;
  if (context_menu_ == nullptr) {
    context_menu_ = gtk_menu_new();
    gtk_menu_attach_to_widget(GTK_MENU(context_menu_), window_, nullptr);
  } else {
    gtk_menu_shell_append(GTK_MENU_SHELL(context_menu_), gtk_separator_menu_item_new());
  }
  GtkWidget* item = gtk_menu_item_new_with_mnemonic(gtk_mnemonic(valid_utf8(text)).c_str());
  g_object_set_data(G_OBJECT(item), "zelk-id", GINT_TO_POINTER(command));
  g_signal_connect(item, "activate", G_CALLBACK(+[](GtkMenuItem* entry, gpointer host) {
                     auto* self = static_cast<GtkHost*>(host);
                     if (self->events_ != nullptr) self->events_->on_system_command(static_cast<unsigned>(id_of(entry)));
                   }),
                   this);
  gtk_menu_shell_append(GTK_MENU_SHELL(context_menu_), item);
  gtk_widget_show_all(context_menu_);
}

void GtkHost::set_window_icons(int icon_id) {
  if (icon_id != kProgramIcon) return;
  GList* icons = nullptr;
  for (int size : {16, 32, 48, 256})
    if (GdkPixbuf* pixbuf = program_icon(size)) icons = g_list_append(icons, pixbuf);
  if (window_ != nullptr) gtk_window_set_icon_list(GTK_WINDOW(window_), icons);
  gtk_window_set_default_icon_list(icons);  // message boxes and the file chooser too
  g_list_free_full(icons, g_object_unref);
}

void GtkHost::notify_command(int id) {
  if (quiet_ == 0 && events_ != nullptr) events_->on_command(id);
}

void GtkHost::notify_selection(int id) {
  if (quiet_ == 0 && events_ != nullptr) events_->on_selection_changed(id);
}

void GtkHost::show_context_menu(const GdkEvent* event) {
  if (context_menu_ == nullptr) return;
  if (event != nullptr && event->type == GDK_BUTTON_PRESS) {
    gtk_menu_popup_at_pointer(GTK_MENU(context_menu_), event);
    return;
  }
  GtkWidget* anchor = gtk_window_get_focus(GTK_WINDOW(window_));
  if (anchor == nullptr) anchor = window_;
  gtk_menu_popup_at_widget(GTK_MENU(context_menu_), anchor, GDK_GRAVITY_SOUTH_WEST, GDK_GRAVITY_NORTH_WEST, event);
}

gboolean GtkHost::on_key_press(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto* host = static_cast<GtkHost*>(data);
  guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
  switch (event->keyval) {
    case GDK_KEY_Escape:
      if (modifiers != 0) break;
      host->notify_command(kIdDone);
      return TRUE;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter: {
      if (modifiers != 0) break;
      // A focused push button takes Enter itself; anywhere else Enter is
      // the default button's.
      GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(host->window_));
      for (int id : {kIdInput, kIdGenerate, kIdView, kIdHelp, kIdDone})
        if (focus != nullptr && focus == host->control(id)) return FALSE;
      GtkWidget* generate = host->control(kIdGenerate);
      if (generate != nullptr && gtk_widget_is_sensitive(generate)) host->notify_command(kIdGenerate);
      return TRUE;
    }
    case GDK_KEY_Menu:
      if (modifiers != 0) break;
      host->show_context_menu(reinterpret_cast<GdkEvent*>(event));
      return TRUE;
    case GDK_KEY_F10:
      if (modifiers != GDK_SHIFT_MASK) break;
      host->show_context_menu(reinterpret_cast<GdkEvent*>(event));
      return TRUE;
    default: break;
  }
  return FALSE;
}

gboolean GtkHost::on_button_press(GtkWidget*, GdkEventButton* event, gpointer data) {
  if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_SECONDARY) return FALSE;
  static_cast<GtkHost*>(data)->show_context_menu(reinterpret_cast<GdkEvent*>(event));
  return TRUE;
}

gboolean GtkHost::on_delete(GtkWidget*, GdkEvent*, gpointer data) {
  static_cast<GtkHost*>(data)->notify_command(kIdDone);
  return TRUE;  // the dialog decides when the window goes
}

// Files dropped from a file manager come as a list of URIs; what names no
// local file (a web address, a file on a remote share) is left out. The
// dialog hears of them once the drop is over: a box it shows must not hold
// the file manager's drag open.
void GtkHost::on_drop(GtkWidget*, GdkDragContext*, gint, gint, GtkSelectionData* data, guint, guint, gpointer host) {
  // While a modal box is open the window takes no choice, as it takes no click.
  if (gtk_grab_get_current() != nullptr) return;
  struct Drop {
    GtkHost* host;
    std::vector<std::string> paths;
  };
  auto* drop = new Drop{static_cast<GtkHost*>(host), {}};
  gchar** uris = gtk_selection_data_get_uris(data);
  for (gchar** uri = uris; uri != nullptr && *uri != nullptr; ++uri)
    if (gchar* path = g_filename_from_uri(*uri, nullptr, nullptr)) {
      drop->paths.emplace_back(path);
      g_free(path);
    }
  g_strfreev(uris);
  g_idle_add_full(
      G_PRIORITY_DEFAULT_IDLE,
      +[](gpointer data) -> gboolean {
        auto* drop = static_cast<Drop*>(data);
        if (drop->host->events_ != nullptr) drop->host->events_->on_files_dropped(drop->paths);
        return G_SOURCE_REMOVE;
      },
      drop, +[](gpointer data) { delete static_cast<Drop*>(data); });
}

void GtkHost::create_main_window(const DialogLayout& layout) {
  window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_style_context_add_class(gtk_widget_get_style_context(window_), "zelk-dialog");
  gtk_window_set_title(GTK_WINDOW(window_), layout.caption);
  gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
  release_dialog(main_);
  main_ = build_dialog(layout, measure_dialog_units(window_, layout), nullptr);
  gtk_container_add(GTK_CONTAINER(window_), main_.fixed);
  // Tab follows the layout's order, not the controls' places on screen.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  GList* chain = nullptr;
  for (GtkWidget* widget : main_.tab_stops) chain = g_list_append(chain, widget);
  gtk_container_set_focus_chain(GTK_CONTAINER(main_.fixed), chain);
  g_list_free(chain);
  G_GNUC_END_IGNORE_DEPRECATIONS
  if (GtkWidget* generate = control(kIdGenerate)) gtk_widget_grab_default(generate);
  gtk_widget_add_events(window_, GDK_BUTTON_PRESS_MASK);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(on_key_press), this);
  g_signal_connect(window_, "button-press-event", G_CALLBACK(on_button_press), this);
  g_signal_connect(window_, "delete-event", G_CALLBACK(on_delete), this);
  // The whole window takes a dropped listing, its LL Field box included.
  gtk_drag_dest_set(window_, GTK_DEST_DEFAULT_ALL, nullptr, 0, GDK_ACTION_COPY);
  gtk_drag_dest_add_uri_targets(window_);
  g_signal_connect(window_, "drag-data-received", G_CALLBACK(on_drop), this);
}

void GtkHost::connect_control(const ControlLayout& c, GtkWidget* widget) {
  g_object_set_data(G_OBJECT(widget), "zelk-id", GINT_TO_POINTER(c.id));
  switch (c.kind) {
    case ControlKind::kPushButton:
    case ControlKind::kDefaultPushButton:
      g_signal_connect(widget, "clicked", G_CALLBACK(+[](GtkButton* button, gpointer host) {
                         static_cast<GtkHost*>(host)->notify_command(id_of(button));
                       }),
                       this);
      break;
    case ControlKind::kCheckBox:
      g_signal_connect(widget, "toggled", G_CALLBACK(+[](GtkToggleButton* button, gpointer host) {
                         static_cast<GtkHost*>(host)->notify_command(id_of(button));
                       }),
                       this);
      break;
    case ControlKind::kRadioButton:
      // Only the button that became selected reports, as a click on it would.
      g_signal_connect(widget, "toggled", G_CALLBACK(+[](GtkToggleButton* button, gpointer host) {
                         if (gtk_toggle_button_get_active(button))
                           static_cast<GtkHost*>(host)->notify_command(id_of(button));
                       }),
                       this);
      break;
    case ControlKind::kDropDownList:
      g_signal_connect(widget, "changed", G_CALLBACK(+[](GtkComboBox* combo, gpointer host) {
                         static_cast<GtkHost*>(host)->notify_selection(id_of(combo));
                       }),
                       this);
      break;
    case ControlKind::kEdit:
      if (c.capitals) g_signal_connect(widget, "insert-text", G_CALLBACK(insert_capitals), nullptr);
      gtk_drag_dest_unset(widget);  // a file's name is no field
      break;
    default: break;
  }
}

int GtkHost::run_main_dialog(DialogEvents& events) {
  const DialogLayout& layout = main_dialog_layout();
  events_ = &events;
  ended_ = false;
  create_main_window(layout);
  for (int i = 0; i < layout.control_count; ++i)
    if (GtkWidget* widget = control(layout.controls[i].id)) connect_control(layout.controls[i], widget);

  bool default_focus = events.on_init_dialog();
  gtk_widget_show_all(window_);
  if (default_focus)
    for (GtkWidget* widget : main_.tab_stops)
      if (gtk_widget_is_sensitive(widget)) {
        gtk_widget_grab_focus(widget);
        break;
      }
  // The dialog may have ended already, from its own initialisation.
  if (!ended_) {
    running_ = true;
    gtk_main();
    running_ = false;
  }
  gtk_widget_destroy(window_);
  window_ = nullptr;
  context_menu_ = nullptr;
  events_ = nullptr;
  return result_;
}

void GtkHost::run_about_box() {
  const DialogLayout& layout = about_dialog_layout();
  GtkWidget* dialog = gtk_dialog_new();
  gtk_style_context_add_class(gtk_widget_get_style_context(dialog), "zelk-dialog");
  gtk_window_set_title(GTK_WINDOW(dialog), layout.caption);
  gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
  if (window_ != nullptr) gtk_window_set_transient_for(GTK_WINDOW(dialog), GTK_WINDOW(window_));
  GdkPixbuf* icon = program_icon(32);
  BuiltDialog about = build_dialog(layout, measure_dialog_units(dialog, layout), icon);
  if (icon != nullptr) g_object_unref(icon);
  GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));
  gtk_container_set_border_width(GTK_CONTAINER(content), 0);
  gtk_box_pack_start(GTK_BOX(content), about.fixed, FALSE, FALSE, 0);
  auto ok = about.controls.find(kIdGenerate);
  if (ok != about.controls.end()) {
    g_signal_connect(ok->second, "clicked", G_CALLBACK(+[](GtkButton*, gpointer box) {
                       gtk_dialog_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
                     }),
                     dialog);
  }
  gtk_widget_show_all(dialog);
  if (ok != about.controls.end()) {
    gtk_widget_grab_default(ok->second);
    gtk_widget_grab_focus(ok->second);
  }
  gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  release_dialog(about);
}

void GtkHost::end_dialog(int result) {
  result_ = result;
  ended_ = true;
  if (running_) gtk_main_quit();
}

}  // namespace zelk

// A GTK module the end-to-end test loads into the real program (GTK_MODULES)
// to read what a person sees: each message box's title, kind and text, and
// the main dialog's controls when it appears and whenever a box appears over
// it. Lines go to the file named by ZELK_GUI_LOG.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string escaped(const char* text) {
  std::string out;
  for (const char* p = text; p != nullptr && *p != '\0'; ++p) {
    if (*p == '\n') out += "\\n";
    else out += *p;
  }
  return out;
}

void write_line(const std::string& line) {
  const char* path = g_getenv("ZELK_GUI_LOG");
  if (std::FILE* log = path != nullptr ? std::fopen(path, "a") : nullptr) {
    std::fprintf(log, "%s\n", line.c_str());
    std::fclose(log);
  }
}

void describe_controls(GtkWidget* widget, std::string& line) {
  const char* name = gtk_widget_get_name(widget);
  if (name != nullptr && std::strncmp(name, "control-", 8) == 0) {
    line += std::string(" ") + (name + 8) + "=";
    if (GTK_IS_COMBO_BOX(widget)) {
      line += std::to_string(gtk_combo_box_get_active(GTK_COMBO_BOX(widget)));
    } else if (GTK_IS_ENTRY(widget)) {
      line += std::string("'") + gtk_entry_get_text(GTK_ENTRY(widget)) + "'";
    } else if (GTK_IS_TOGGLE_BUTTON(widget)) {
      line += gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget)) ? "on" : "off";
    } else if (GTK_IS_BUTTON(widget)) {
      line += gtk_widget_is_sensitive(widget) ? "enabled" : "disabled";
    } else if (GTK_IS_SCROLLED_WINDOW(widget)) {
      // The list box: the labels of its rows.
      line += "[";
      GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget));
      if (child != nullptr && GTK_IS_VIEWPORT(child)) child = gtk_bin_get_child(GTK_BIN(child));
      GList* rows = child != nullptr ? gtk_container_get_children(GTK_CONTAINER(child)) : nullptr;
      for (GList* row = rows; row != nullptr; row = row->next) {
        GtkWidget* label = gtk_bin_get_child(GTK_BIN(row->data));
        if (label != nullptr && GTK_IS_LABEL(label)) {
          line += gtk_label_get_text(GTK_LABEL(label));
          if (row->next != nullptr) line += "|";
        }
      }
      g_list_free(rows);
      line += "]";
    }
    gchar* tooltip = gtk_widget_get_tooltip_text(widget);
    if (tooltip != nullptr) line += std::string("{") + tooltip + "}";
    g_free(tooltip);
  }
  if (GTK_IS_CONTAINER(widget)) {
    GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
    for (GList* child = children; child != nullptr; child = child->next) describe_controls(GTK_WIDGET(child->data), line);
    g_list_free(children);
  }
}

void describe_main_dialog() {
  GList* windows = gtk_window_list_toplevels();
  for (GList* w = windows; w != nullptr; w = w->next) {
    const char* title = gtk_window_get_title(GTK_WINDOW(w->data));
    if (title != nullptr && std::strncmp(title, "ZELK to HTML Version", 20) == 0) {
      std::string line = "state";
      describe_controls(GTK_WIDGET(w->data), line);
      write_line(line);
    }
  }
  g_list_free(windows);
}

std::string kind_of(GtkMessageType type) {
  return type == GTK_MESSAGE_ERROR     ? "error"
         : type == GTK_MESSAGE_WARNING ? "warning"
         : type == GTK_MESSAGE_INFO    ? "information"
                                       : "type " + std::to_string(static_cast<int>(type));
}

gboolean on_map(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
  if (count == 0) return TRUE;
  GtkWidget* widget = GTK_WIDGET(g_value_get_object(&values[0]));
  if (!GTK_IS_WINDOW(widget)) return TRUE;
  const char* title = gtk_window_get_title(GTK_WINDOW(widget));
  if (GTK_IS_MESSAGE_DIALOG(widget)) {
    GtkMessageType type = GTK_MESSAGE_OTHER;
    gchar* text = nullptr;
    g_object_get(widget, "message-type", &type, "text", &text, nullptr);
    write_line(std::string("message|") + (title ? title : "") + "|" + kind_of(type) + "|" + escaped(text));
    g_free(text);
    describe_main_dialog();
  } else if (GTK_IS_FILE_CHOOSER(widget)) {
    std::string line = std::string("chooser|") + (title ? title : "") + "|";
    GSList* filters = gtk_file_chooser_list_filters(GTK_FILE_CHOOSER(widget));
    for (GSList* f = filters; f != nullptr; f = f->next) {
      line += gtk_file_filter_get_name(GTK_FILE_FILTER(f->data));
      if (f->next != nullptr) line += ",";
    }
    g_slist_free(filters);
    GtkFileFilter* current = gtk_file_chooser_get_filter(GTK_FILE_CHOOSER(widget));
    line += std::string("|") + (current != nullptr ? gtk_file_filter_get_name(current) : "");
    write_line(line);
  } else if (title != nullptr && std::strncmp(title, "ZELK to HTML Version", 20) == 0) {
    describe_main_dialog();
  }
  return TRUE;
}

}  // namespace

extern "C" G_MODULE_EXPORT void gtk_module_init(gint*, gchar***) {
  // Signals exist once their class does.
  g_type_class_unref(g_type_class_ref(GTK_TYPE_WINDOW));
  g_signal_add_emission_hook(g_signal_lookup("map", GTK_TYPE_WIDGET), 0, on_map, nullptr, nullptr);
}

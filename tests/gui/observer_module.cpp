// Loaded into the real program (GTK_MODULES): each message box's title, kind and text, a line to ZELK_GUI_LOG.
#include <gtk/gtk.h>

#include <cstdio>

namespace {

gboolean on_map(GSignalInvocationHint*, guint count, const GValue* values, gpointer) {
  auto* widget = count > 0 ? static_cast<GObject*>(g_value_get_object(&values[0])) : nullptr;
  const char* path = g_getenv("ZELK_GUI_LOG");
  if (!GTK_IS_MESSAGE_DIALOG(widget) || path == nullptr) return TRUE;
  GtkMessageType type = GTK_MESSAGE_OTHER;
  gchar* text = nullptr;
  g_object_get(widget, "message-type", &type, "text", &text, nullptr);
  // Names in any language stay as written; controls and quotes are escaped.
  char beyond_ascii[129] = "";
  for (int c = 0x80; c <= 0xFF; ++c) beyond_ascii[c - 0x80] = static_cast<char>(c);
  gchar* escaped = g_strescape(text != nullptr ? text : "", beyond_ascii);
  GEnumClass* types = G_ENUM_CLASS(g_type_class_ref(GTK_TYPE_MESSAGE_TYPE));
  if (std::FILE* log = std::fopen(path, "a")) {
    std::fprintf(log, "%s|%s|%s\n", gtk_window_get_title(GTK_WINDOW(widget)), g_enum_get_value(types, type)->value_nick,
                 escaped);
    std::fclose(log);
  }
  g_type_class_unref(types);
  g_free(escaped);
  g_free(text);
  return TRUE;
}
}  // namespace

extern "C" G_MODULE_EXPORT void gtk_module_init(gint*, gchar***) {
  // Signals exist once their class does.
  g_type_class_unref(g_type_class_ref(GTK_TYPE_WINDOW));
  g_signal_add_emission_hook(g_signal_lookup("map", GTK_TYPE_WIDGET), 0, on_map, nullptr, nullptr);
}

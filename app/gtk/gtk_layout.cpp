#include "app/gtk/gtk_layout.h"

#include <string>

namespace zelk {

namespace {

std::string font_description(const DialogLayout& layout) {
  return std::string(layout.font_name) + " " + std::to_string(layout.font_points);
}

struct RadioGroup {
  GtkWidget* leader = nullptr;
  GtkWidget* clearer = nullptr;
};

GtkWidget* make_control(const ControlLayout& c, const DialogUnits& units, GdkPixbuf* icon, RadioGroup& group,
                        BuiltDialog& built) {
  switch (c.kind) {
    case ControlKind::kPushButton:
    case ControlKind::kDefaultPushButton: {
      GtkWidget* button = gtk_button_new_with_label(c.caption);
      if (c.kind == ControlKind::kDefaultPushButton) gtk_widget_set_can_default(button, TRUE);
      return button;
    }
    case ControlKind::kDropDownList: {
      GtkWidget* combo = gtk_combo_box_text_new();
      // The layout's height includes the open list; closed it is one line.
      gtk_widget_set_size_request(combo, units.x(c.width), units.y(12));
      return combo;
    }
    case ControlKind::kEdit: {
      GtkWidget* entry = gtk_entry_new();
      gtk_entry_set_width_chars(GTK_ENTRY(entry), 1);
      gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
      return entry;
    }
    case ControlKind::kRadioButton: {
      if (c.group || group.leader == nullptr) {
        group.leader = gtk_radio_button_new_with_label(nullptr, c.caption);
        group.clearer = gtk_radio_button_new_from_widget(GTK_RADIO_BUTTON(group.leader));
        g_object_ref_sink(group.clearer);
        built.owned.push_back(group.clearer);
        built.group_clearers[c.id] = group.clearer;
        return group.leader;
      }
      built.group_clearers[c.id] = group.clearer;
      return gtk_radio_button_new_with_label_from_widget(GTK_RADIO_BUTTON(group.leader), c.caption);
    }
    case ControlKind::kCheckBox: return gtk_check_button_new_with_label(c.caption);
    case ControlKind::kListBox: {
      GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
      gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER, GTK_POLICY_EXTERNAL);
      gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
      GtkWidget* list = gtk_list_box_new();
      gtk_list_box_set_selection_mode(GTK_LIST_BOX(list), GTK_SELECTION_NONE);
      gtk_widget_set_can_focus(list, FALSE);
      gtk_container_add(GTK_CONTAINER(scrolled), list);
      return scrolled;
    }
    case ControlKind::kGroupBox: return gtk_frame_new(c.caption);
    case ControlKind::kStaticText: {
      GtkWidget* label = gtk_label_new(c.caption);
      gtk_label_set_xalign(GTK_LABEL(label), 0);
      gtk_label_set_yalign(GTK_LABEL(label), 0);
      return label;
    }
    case ControlKind::kIcon: return icon != nullptr ? gtk_image_new_from_pixbuf(icon) : gtk_image_new();
  }
  return gtk_label_new("");
}

// Names every control without a caption and ties each label to what it
// labels both ways, as a mnemonic label would, without changing what shows.
void name_for_screen_readers(const DialogLayout& layout, const std::vector<GtkWidget*>& widgets) {
  for (int i = 0; i < layout.control_count; ++i) {
    const ControlLayout& c = layout.controls[i];
    if (c.id == kIdStatic) continue;
    AtkObject* accessible = gtk_widget_get_accessible(widgets[i]);
    if (*c.caption == '\0') {
      atk_object_set_name(accessible, accessible_name(layout, c));
      // The list is read apart from the scrolled window around it.
      if (c.kind == ControlKind::kListBox)
        atk_object_set_name(gtk_widget_get_accessible(list_in(widgets[i])), accessible_name(layout, c));
    }
    const ControlLayout* label = label_of(layout, c);
    if (label == nullptr) continue;
    GtkWidget* label_widget = widgets[label - layout.controls];
    if (GTK_IS_FRAME(label_widget)) label_widget = gtk_frame_get_label_widget(GTK_FRAME(label_widget));
    AtkObject* label_accessible = gtk_widget_get_accessible(label_widget);
    // A radio button's accessible makes its group's relation when first asked
    // and, finding other relations by then, warns.
    g_object_unref(atk_object_ref_relation_set(accessible));
    atk_object_add_relationship(accessible, ATK_RELATION_LABELLED_BY, label_accessible);
    atk_object_add_relationship(label_accessible, ATK_RELATION_LABEL_FOR, accessible);
  }
}

}  // namespace

DialogUnits measure_dialog_units(GtkWidget* widget, const DialogLayout& layout) {
  PangoLayout* text = gtk_widget_create_pango_layout(widget, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  PangoFontDescription* font = pango_font_description_from_string(font_description(layout).c_str());
  pango_layout_set_font_description(text, font);
  int width = 0, height = 0;
  pango_layout_get_pixel_size(text, &width, &height);
  pango_font_description_free(font);
  g_object_unref(text);
  DialogUnits units{(width / 26 + 1) / 2, height};
  if (units.base_x <= 0) units.base_x = 6;
  if (units.base_y <= 0) units.base_y = 13;
  return units;
}

std::string dialog_css(const DialogLayout& layout) {
  return std::string(".zelk-dialog, .zelk-dialog * { font-family: \"") + layout.font_name +
         "\"; font-size: " + std::to_string(layout.font_points) +
         "pt; }\n"
         ".zelk-dialog button, .zelk-dialog entry, .zelk-dialog combobox button {"
         " min-height: 0; padding-top: 0; padding-bottom: 0; }\n"
         ".zelk-dialog button { padding-left: 4px; padding-right: 4px; }\n"
         ".zelk-dialog entry { padding-left: 3px; padding-right: 3px; }\n"
         ".zelk-dialog checkbutton, .zelk-dialog radiobutton { min-height: 0; padding: 0; }\n"
         ".zelk-dialog check, .zelk-dialog radio { min-width: 12px; min-height: 12px; margin: 0 4px 0 0; }\n"
         ".zelk-dialog list row { min-height: 0; padding: 0 3px; }\n"
         ".zelk-dialog frame > border { border-radius: 0; }\n";
}

BuiltDialog build_dialog(const DialogLayout& layout, const DialogUnits& units, GdkPixbuf* icon) {
  BuiltDialog built;
  built.fixed = gtk_fixed_new();
  gtk_widget_set_size_request(built.fixed, units.x(layout.width), units.y(layout.height));
  RadioGroup group;
  std::vector<GtkWidget*> widgets;
  for (int i = 0; i < layout.control_count; ++i) {
    const ControlLayout& c = layout.controls[i];
    GtkWidget* widget = make_control(c, units, icon, group, built);
    widgets.push_back(widget);
    if (c.kind != ControlKind::kDropDownList) gtk_widget_set_size_request(widget, units.x(c.width), units.y(c.height));
    gtk_fixed_put(GTK_FIXED(built.fixed), widget, units.x(c.x), units.y(c.y));
    if (c.id != kIdStatic) {
      built.controls[c.id] = widget;
      gtk_widget_set_name(widget, ("control-" + std::to_string(c.id)).c_str());
    }
    // Tabbing into a group of radio buttons lands on the selected one, so
    // all of them join the chain.
    if (c.tab_stop || c.kind == ControlKind::kRadioButton) built.tab_stops.push_back(widget);
  }
  name_for_screen_readers(layout, widgets);
  return built;
}

GtkWidget* list_in(GtkWidget* scrolled) {
  GtkWidget* child = gtk_bin_get_child(GTK_BIN(scrolled));
  if (child != nullptr && GTK_IS_VIEWPORT(child)) child = gtk_bin_get_child(GTK_BIN(child));
  return child;
}

void release_dialog(BuiltDialog& built) {
  for (GtkWidget* widget : built.owned) g_object_unref(widget);
  built.owned.clear();
  built.group_clearers.clear();
}

}  // namespace zelk

// Builds a dialog layout of res/ as GTK widgets on a GtkFixed. Positions in
// dialog units become pixels through the metrics of the layout's font, as
// Windows converts them: a unit is a quarter of the average character width
// across and an eighth of the character height down.
#pragma once

#include <gtk/gtk.h>

#include <map>
#include <string>
#include <vector>

#include "app/layouts.h"

namespace zelk {

struct DialogUnits {
  int base_x;  // average character width in pixels
  int base_y;  // character height in pixels
  int x(int units) const { return (units * base_x + 2) / 4; }
  int y(int units) const { return (units * base_y + 4) / 8; }
};

// Measured on `widget`'s screen with the layout's font.
DialogUnits measure_dialog_units(GtkWidget* widget, const DialogLayout& layout);

// The CSS that makes the widgets of a dialog with style class "zelk-dialog"
// use the layout's font and fit their rectangles.
std::string dialog_css(const DialogLayout& layout);

struct BuiltDialog {
  GtkWidget* fixed = nullptr;
  std::map<int, GtkWidget*> controls;  // by id; labels and frames have none
  std::vector<GtkWidget*> tab_stops;   // in tab order, radio buttons of a group together
  // A radio button outside the window per group; selecting it clears the
  // visible ones, as a print format the dialog never writes does.
  std::map<int, GtkWidget*> group_clearers;  // by the id of any button of the group
  std::vector<GtkWidget*> owned;              // the clearers, which no container holds
};

// The list of a listing box, inside its scrolled window.
GtkWidget* list_in(GtkWidget* scrolled);

// Drops what build_dialog kept outside the widget tree.
void release_dialog(BuiltDialog& built);

// `icon` is shown by the layout's icon control (may be null).
BuiltDialog build_dialog(const DialogLayout& layout, const DialogUnits& units, GdkPixbuf* icon);

}  // namespace zelk

// The page's style block (status looks, cell borders and the FFMA outline,
// field background images) and the legend below the map.
#pragma once

#include <cstdio>

#include "listing/status.h"
#include "record/settings_record.h"

namespace zelk {

struct StatusStyle {
  const char* class_name;
  const char* color_word;
  int bold;
};

// By Status: unworked, worked, confirmed, checked.
struct StatusStyleTable {
  StatusStyle styles[4];
  const char* outline_color;
  StatusStyle& operator[](Status status) { return styles[static_cast<int>(status)]; }
  const StatusStyle& operator[](Status status) const { return styles[static_cast<int>(status)]; }
};

// A status's class name in the page, which its style rules select.
const char* status_class(Status status);

// Fills the table from the color, bold, needed/worked and "C = S = *" options.
void fill_status_styles(StatusStyleTable& table, const SettingsRecord& record);

// Fills the table, then writes "<style type='text/css'>" ... "</style>".
void write_style_sheet(std::FILE* out, StatusStyleTable& table, const SettingsRecord& record);

// The one-row table that names each status's color in that color.
void write_legend(std::FILE* out, const StatusStyleTable& table);

}  // namespace zelk

// What the rest of the program relies on after a settings file was loaded:
// texts terminated, band -1..10, options 0 or 1, map 1..18 fields each way.
#pragma once

#include <cstring>
#include <string>

#include "conversion/settings_record.h"

namespace zelk {

// "" when the record is one the dialog could have made, else what is wrong.
inline std::string out_of_range(const SettingsRecord& r) {
  auto terminated = [](const char* field, std::size_t size) { return std::memchr(field, '\0', size) != nullptr; };
  auto option = [](std::int32_t value) { return value == 0 || value == 1; };
  std::string problems;
  if (!terminated(r.version, sizeof r.version) || !terminated(r.lower_left_field, sizeof r.lower_left_field) ||
      !terminated(r.program_base_name, sizeof r.program_base_name) || !terminated(r.message, sizeof r.message) ||
      !terminated(r.program_directory, sizeof r.program_directory))
    problems += "unterminated text ";
  if (r.band_index < -1 || r.band_index > 10) problems += "band index ";
  if (!option(r.bold_option) || !option(r.color_option) || !option(r.confirmed_as_checked_option) ||
      !option(r.ffma_option) || !option(r.emphasize_needed_option) || !option(r.submitted_as_checked_option))
    problems += "option ";
  if (r.map_rows < 1 || r.map_rows > 18 || r.map_columns < 1 || r.map_columns > 18) problems += "map size ";
  return problems;
}

}  // namespace zelk

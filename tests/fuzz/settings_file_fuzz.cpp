// The settings loader on a file of any bytes (checks: docs/robustness.md).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "conversion/settings_file.h"
#include "listing/band_table.h"
#include "tests/fuzz/fuzz_check.h"
#include "zelk_version.h"

namespace {

// What the rest of the program relies on after a load: no message, a field
// of two letters A..R or none, band -1..12 (11 every band, 12 any), options 0 or 1,
// a print format of the dialog's and the map size it gives.
bool dialog_could_have_made(const zelk::SettingsRecord& r) {
  auto option = [](std::int32_t value) { return value == 0 || value == 1; };
  const std::string field = r.lower_left_field;
  const bool field_sound = field.empty() || (field.size() == 2 && field.find_first_not_of("ABCDEFGHIJKLMNOPQR") ==
                                                                           std::string::npos);
  return r.message[0] == '\0' && field_sound && r.band_index >= -1 &&
         r.band_index <= zelk::kAnyBand &&
         option(r.bold_option) && option(r.color_option) && option(r.confirmed_as_checked_option) &&
         option(r.ffma_option) && option(r.emphasize_needed_option) && option(r.submitted_as_checked_option) &&
         r.map_columns * 10 + r.map_rows == (r.print_format == 0 ? 34 : r.print_format == 1 ? 43 : r.print_format == 2 ? 64 : 0);
}

void load_as(const char* version, const std::string& path) {
  zelk::SettingsRecord live;
  zelk::reset_to_defaults(live);
  std::strcpy(live.version, version);
  std::strcpy(live.program_base_name, "zelk2html");
  zelk::SettingsRecord before = live;

  zelk::LoadOutcome outcome = zelk::load_settings_file(live, path);
  FUZZ_CHECK(outcome != zelk::LoadOutcome::kNoFile);
  if (outcome == zelk::LoadOutcome::kVersionChanged) {
    FUZZ_CHECK(std::memcmp(&live, &before, sizeof live) == 0);
    return;
  }
  // The identity is the running program's, never the file's.
  FUZZ_CHECK(std::memcmp(&live, &before, offsetof(zelk::SettingsRecord, lower_left_field)) == 0);
  FUZZ_CHECK(std::strcmp(live.program_base_name, "zelk2html") == 0 && live.program_directory[0] == '\0');
  FUZZ_CHECK(dialog_could_have_made(live));

  const std::string again = path + ".again";
  FUZZ_CHECK(zelk::save_settings_file(live, again));
  zelk::SettingsRecord reloaded = before;
  FUZZ_CHECK(zelk::load_settings_file(reloaded, again) == zelk::LoadOutcome::kLoaded);
  FUZZ_CHECK(std::memcmp(&reloaded, &live, sizeof live) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const zelk::test::ScratchFolder folder;
  const std::string path = folder / "zelk2html.ini";
  zelk::test::write_file(path, std::string(reinterpret_cast<const char*>(data), size));
  load_as(ZELK_VERSION_TEXT, path);
  // A program without a version record accepts files with an empty version.
  load_as("", path);
  return 0;
}

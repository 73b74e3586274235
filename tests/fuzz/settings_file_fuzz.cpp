// The settings loader on a file of any bytes (checks: docs/robustness.md).
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "conversion/settings_file.h"
#include "conversion/settings_record.h"
#include "tests/faults/record_limits.h"
#include "tests/fuzz/fuzz_check.h"
#include "zelk_version.h"

namespace {

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
  FUZZ_CHECK(std::strcmp(live.version, version) == 0);
  FUZZ_CHECK(zelk::out_of_range(live).empty());

  const std::string again = path + ".again";
  FUZZ_CHECK(zelk::save_settings_file(live, again));
  zelk::SettingsRecord reloaded;
  zelk::reset_to_defaults(reloaded);
  std::strcpy(reloaded.version, version);
  FUZZ_CHECK(zelk::load_settings_file(reloaded, again) == zelk::LoadOutcome::kLoaded);
  FUZZ_CHECK(std::memcmp(&reloaded, &live, sizeof live) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = zelk::fuzz::scratch_folder() + "/zelk2html.ini";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
  load_as(ZELK_VERSION_TEXT, path);
  // A program without a version record accepts files with an empty version.
  load_as("", path);
  return 0;
}

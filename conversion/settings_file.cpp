#include "conversion/settings_file.h"

#include <cstdio>
#include <cstring>

#include "platform/file_paths.h"
#include "platform/staged_files.h"
#include "platform/program_folders.h"
#include "listing/band_table.h"
#include "mappage/map_extent.h"
#include "record/bounded_text.h"

namespace zelk {

namespace {

// Only Windows programs carry an extension; a Linux program copied as
// zelk2html-3.3 keeps all of its name (and zelk2html-3.3.ini beside it).
#ifdef _WIN32
constexpr const char* kProgramExtension = ".exe";
#else
constexpr const char* kProgramExtension = "";
#endif

std::int32_t option_or(std::int32_t value, std::int32_t fallback) {
  return value == 0 || value == 1 ? value : fallback;
}

// A settings file from elsewhere (or a damaged one) may hold anything; it is
// trusted for the user's choices only, and those in the ranges the dialog
// itself writes, so that no garbage is shown or saved back.
void bring_into_range(SettingsRecord& record) {
  const char field[2] = {record.lower_left_field[0], record.lower_left_field[1]};
  const bool field_taken = is_field_letter(field[0]) && is_field_letter(field[1]) && record.lower_left_field[2] == '\0';
  std::memset(record.lower_left_field, 0, sizeof record.lower_left_field);
  if (field_taken) std::memcpy(record.lower_left_field, field, sizeof field);
  std::memset(record.message, 0, sizeof record.message);
  record.reserved_band_index = -1;
  if (record.band_index < -1 || record.band_index > kAnyBand) record.band_index = -1;
  record.bold_option = option_or(record.bold_option, 1);
  record.color_option = option_or(record.color_option, 1);
  record.confirmed_as_checked_option = option_or(record.confirmed_as_checked_option, 1);
  record.ffma_option = option_or(record.ffma_option, 0);
  record.emphasize_needed_option = option_or(record.emphasize_needed_option, 1);
  record.submitted_as_checked_option = option_or(record.submitted_as_checked_option, 0);
  // The print format alone sets the map size: a format no dialog writes
  // loads as the default, and the stored size is never read.
  const bool known_format = record.print_format >= kPortrait && record.print_format <= kTabloid;
  set_print_format(record, known_format ? record.print_format : kLandscape);
}

void clear_identity(SettingsRecord& record) {
  record.version[0] = '\0';
  record.program_base_name[0] = '\0';
  record.program_directory[0] = '\0';
}

// The program's identity is the running program's, never the file's: a
// moved folder or a damaged file would name the wrong place and title.
void keep_identity(SettingsRecord& loaded, const SettingsRecord& live) {
  std::memcpy(loaded.version, live.version, sizeof loaded.version);
  std::memcpy(loaded.program_base_name, live.program_base_name, sizeof loaded.program_base_name);
  std::memcpy(loaded.program_directory, live.program_directory, sizeof loaded.program_directory);
}

}  // namespace

std::string version_text(const VersionRecord& version) {
  char text[64];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", unsigned{version.file_version_ms >> 16},
                unsigned{version.file_version_ms & 0xFFFF}, unsigned{version.file_version_ls >> 16},
                unsigned{version.file_version_ls & 0xFFFF});
  return text;
}

bool set_program_identity(SettingsRecord& record, ProgramPlatform& platform) {
  clear_identity(record);
  std::optional<std::string> path = platform.program_path();
  if (!path || path->empty() || system_path_length(*path) > kSystemPathLimit) return false;

  std::string directory = folder_of(*path);
  std::string base_name = program_base_name(*path);
  // The record's fields keep what fits: they only title the message boxes
  // and fill the settings file's layout. The program's folders come from its
  // whole path (program_folders.h).
  copy_into(record.program_directory, directory.c_str());
  copy_into(record.program_base_name, base_name.c_str());

  std::optional<VersionRecord> version =
      platform.version_record(directory + base_name + kProgramExtension);
  if (version && version->signature == kVersionSignature) {
    std::string text = version_text(*version);
    if (text.size() < sizeof record.version) copy_into(record.version, text.c_str());
  }
  return true;
}

LoadOutcome load_settings_file(SettingsRecord& live, const std::string& path) {
  if (path.empty()) return LoadOutcome::kNoFile;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return LoadOutcome::kNoFile;
  unsigned char bytes[kSettingsRecordSize];
  std::size_t length = std::fread(bytes, 1, sizeof bytes, file);
  // A folder at the settings path opens on some systems but reads nothing:
  // it is no settings file, not one of another version.
  bool unreadable = std::ferror(file) != 0;
  std::fclose(file);
  if (unreadable) return LoadOutcome::kNoFile;

  SettingsRecord loaded;
  reset_to_defaults(loaded);
  record_from_bytes(loaded, bytes, length);
  terminate_within(loaded.version);
  // An empty file counts as another version even when ours is unknown.
  if (length == 0 || std::strcmp(loaded.version, live.version) != 0)
    return LoadOutcome::kVersionChanged;
  bring_into_range(loaded);
  keep_identity(loaded, live);
  live = loaded;
  return LoadOutcome::kLoaded;
}

bool stage_settings_file(StagedFiles& files, SettingsRecord& record, const std::string& path) {
  std::memset(record.message, 0, sizeof record.message);
  if (path.empty()) return false;
  RecordBytes bytes;
  record_to_bytes(record, bytes);
  return files.stage(path, "wb", [&](std::FILE* file) { std::fwrite(bytes, 1, sizeof bytes, file); });
}

bool save_settings_file(SettingsRecord& record, const std::string& path, std::error_code* reason) {
  StagedFiles files;
  if (stage_settings_file(files, record, path)) {
    const StagedFiles::Outcome outcome = files.commit();
    if (outcome.whole()) return true;
    if (reason != nullptr) *reason = outcome.reason;
    return false;
  }
  if (reason != nullptr) *reason = files.error();
  return false;
}

}  // namespace zelk

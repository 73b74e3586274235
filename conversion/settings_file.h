// The program's identity (directory, base name, version) and the settings
// file beside the program that keeps the record between runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "platform/staged_files.h"
#include "record/settings_record.h"

namespace zelk {

// The fixed part of a version record, as the platform reads it from a file.
struct VersionRecord {
  std::uint32_t signature;
  std::uint32_t file_version_ms;
  std::uint32_t file_version_ls;
};
inline constexpr std::uint32_t kVersionSignature = 0xFEEF04BD;

// The two platform operations the identity needs. The path is absent when the
// platform cannot give it; the version record is absent for a file without one.
struct ProgramPlatform {
  virtual ~ProgramPlatform() = default;
  virtual std::optional<std::string> program_path() = 0;
  virtual std::optional<VersionRecord> version_record(const std::string& file) = 0;
};

// "3.3.0.1" from the file version's four 16-bit parts.
std::string version_text(const VersionRecord& version);

// Fills version string, program base name and program directory. False when
// the program path is unavailable or does not fit the record; the identity is
// then empty and the caller shows "ERROR: Can't get path to program!".
bool set_program_identity(SettingsRecord& record, ProgramPlatform& platform);

enum class LoadOutcome { kNoFile, kVersionChanged, kLoaded };

// Reads the settings file over the live record when its version string equals
// the record's. Only the user's choices are taken, each brought into the
// dialog's range; the identity stays the live record's, and the print format
// sets the map size.
LoadOutcome load_settings_file(SettingsRecord& live, const std::string& path);

// Clears the message buffer and replaces the settings file with
// the record's image. False, with the old file untouched, when it failed;
// then `reason`, when given, holds the system's reason if there is one.
bool save_settings_file(SettingsRecord& record, const std::string& path, std::error_code* reason = nullptr);
// The same, staged with the other files of a run; false, with the reason in
// `files`, when it could not be.
bool stage_settings_file(StagedFiles& files, SettingsRecord& record, const std::string& path);

}  // namespace zelk

// The settings file: its byte layout, the program's identity, loading and saving.
#include "conversion/settings_file.h"

#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/file_paths.h"
#include "test_helpers.h"

namespace zelk {
namespace {

std::string image_of(const SettingsRecord& record) {
  RecordBytes bytes;
  record_to_bytes(record, bytes);
  return std::string(reinterpret_cast<char*>(bytes), sizeof bytes);
}

TEST(SettingsRecord, ByteImageHasFixedOffsetsAndLittleEndianIntegers) {
  SettingsRecord record;
  std::memset(&record, 0x5A, sizeof record);
  reset_to_defaults(record);
  record.band_index = 0x01020304;
  record.map_columns = -2;
  const std::string image = image_of(record);
  EXPECT_EQ(image.substr(0, 552), std::string(552, '\0'));
  // band, bold, color, C = S = * 1, FFMA 0, reserved -1, rows 3, landscape,
  // needed 1, S = * 0, columns
  EXPECT_EQ(image.substr(552), std::string("\4\3\2\1" "\1\0\0\0" "\1\0\0\0" "\1\0\0\0" "\0\0\0\0"
                                           "\377\377\377\377" "\3\0\0\0" "\1\0\0\0" "\1\0\0\0"
                                           "\0\0\0\0" "\376\377\377\377", 44));
}

struct FakePlatform : ProgramPlatform {
  std::optional<std::string> path;
  std::optional<VersionRecord> version;
  std::string version_file;
  std::optional<std::string> program_path() override { return path; }
  std::optional<VersionRecord> version_record(const std::string& file) override {
    return version_file = file, version;
  }
};

// A record as this release writes it, every field off its default.
SettingsRecord stored_record() {
  SettingsRecord record = test::record_for(5, "FN");
  std::strcpy(record.version, "3.3.0.1");
  // One character each: the live identity replaces them.
  std::strcpy(record.program_directory, "/");
  std::strcpy(record.program_base_name, "p");
  record.bold_option = record.color_option = 0;
  record.confirmed_as_checked_option = record.emphasize_needed_option = 0;
  record.ffma_option = record.submitted_as_checked_option = 1;
  set_print_format(record, kTabloid);
  return record;
}

TEST(SettingsFile, ProgramIdentity) {
#ifdef _WIN32
  const std::string exe = ".exe";
#else
  const std::string exe;  // Linux programs carry no extension: nothing of the name is cut
#endif
  const VersionRecord release{kVersionSignature, 0x00030003, 0x00000001};
  const std::string d255 = "/" + std::string(253, 'd') + "/", name = "abcdefghijklmno";
  const struct {
    std::optional<std::string> path;
    std::optional<VersionRecord> version;
    std::string identity;  // directory|base name|version
  } cases[] = {
      {"/o/zelk2html" + exe, release, "/o/|zelk2html|3.3.0.1"},
      {"/o.v2/z-3.3" + exe, release, "/o.v2/|z-3.3|3.3.0.1"},
      {"/z/zelk2html", std::nullopt, "/z/|zelk2html|"},
      {"/z/zelk2html", VersionRecord{0xFEEF04BC, 0x00030003, 1}, "/z/|zelk2html|"},
      {"/z/p", VersionRecord{kVersionSignature, 0xFFFFFFFF, 0xFFFFFFFF}, "/z/|p|"},  // 23 characters
      {std::nullopt, release, "||"},
      {"/z/" + name + exe, release, "/z/|" + name + "|3.3.0.1"},
      // A name longer than its field keeps what fits; the program still starts.
      {"/z/" + name + "p" + exe, release, "/z/|" + name + "|3.3.0.1"},
      {"/" + d255 + "p", release, ("/" + d255).substr(0, 255) + "|p|3.3.0.1"},  // the folder keeps what fits
      {"/" + std::string(kSystemPathLimit, 'p'), release, "||"},  // no path the system opens
  };
  for (const auto& c : cases) {
    FakePlatform platform;
    platform.path = c.path;
    platform.version = c.version;
    SettingsRecord record = stored_record();  // a failed identity leaves none of the old one
    const bool ok = c.identity != "||";
    EXPECT_EQ(set_program_identity(record, platform), ok) << c.path.value_or("no path");
    EXPECT_EQ(std::string(record.program_directory) + "|" + record.program_base_name + "|" +
                  record.version, c.identity);
    // The version is read from the program's whole file name, whatever the record holds.
    EXPECT_EQ(platform.version_file, ok ? *c.path + (c.path->ends_with(exe) ? "" : exe) : "");
  }
}

// Cut-short files: the fault driver and the settings_file fuzz target. A
// loaded file gives the user's choices only, each in the dialog's range; the
// identity stays the running program's.
TEST(SettingsFile, LoadOutcomes) {
  test::ScratchFolder folder;
  const std::string path = folder / "zelk2html.ini", stored = image_of(stored_record());
  auto patched = [&](std::size_t offset, const std::string& bytes) {
    return std::string(stored).replace(offset, bytes.size(), bytes);
  };
  // Rows, print format, needed 0, S as checked 1, columns.
  auto map = [&](char rows, char format, char columns) {
    return patched(576, {rows, 0, 0, 0, format, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, columns, 0, 0, 0});
  };
  const std::string v = "3.3.0.1";
  const struct {
    std::string file, live_version;
    LoadOutcome outcome;
    std::string after;  // band, rows x columns, lower-left field
  } cases[] = {
      {stored, v, LoadOutcome::kLoaded, "5 4x6 FN"},
      {patched(0, "3.3.0.10"), v, LoadOutcome::kVersionChanged, "-1 3x4 "},  // more than this version
      {patched(0, std::string(16, '\0')), "", LoadOutcome::kLoaded, "5 4x6 FN"},
      {"", "", LoadOutcome::kVersionChanged, "-1 3x4 "},
      {patched(552, std::string("\x0C\0\0\0", 4)), v, LoadOutcome::kLoaded, "12 4x6 FN"},  // any band, the last
      {patched(552, std::string("\x0D\0\0\0", 4)), v, LoadOutcome::kLoaded, "-1 4x6 FN"},
      {map(18, 99, 18), v, LoadOutcome::kLoaded, "5 3x4 FN"},  // no print format: landscape's size
      {map(19, 9, 1), v, LoadOutcome::kLoaded, "5 3x4 FN"},
      {map(2, 0, 18), v, LoadOutcome::kLoaded, "5 4x3 FN"},  // the format sets the size
      {patched(16, "SA"), v, LoadOutcome::kLoaded, "5 4x6 "},
      {patched(16, "Fn"), v, LoadOutcome::kLoaded, "5 4x6 "},
      {patched(16, "FNX"), v, LoadOutcome::kLoaded, "5 4x6 "},
      {patched(0, "3.3.0.1-12345678"), "3.3.0.1-1234567", LoadOutcome::kLoaded, "5 4x6 FN"},
      // Cut short by a crash: within the version another version's; after, what it holds.
      {stored.substr(0, 6), v, LoadOutcome::kVersionChanged, "-1 3x4 "},
      {stored.substr(0, 18), v, LoadOutcome::kLoaded, "-1 3x4 FN"},
      {stored.substr(0, 556), v, LoadOutcome::kLoaded, "5 3x4 FN"},
  };
  for (const auto& c : cases) {
    test::write_file(path, c.file);
    SettingsRecord live = test::record_for(-1);
    std::strcpy(live.version, c.live_version.c_str());
    std::strcpy(live.program_base_name, "live");
    const std::string unchanged = image_of(live);
    EXPECT_EQ(load_settings_file(live, path), c.outcome) << c.after;
    EXPECT_STREQ(live.program_base_name, "live") << "the running program's, whatever the file holds";
    EXPECT_EQ(std::to_string(live.band_index) + " " + std::to_string(live.map_rows) + "x" +
                  std::to_string(live.map_columns) + " " + live.lower_left_field, c.after);
    SettingsRecord expected = stored_record();
    std::strcpy(expected.program_directory, "");
    std::strcpy(expected.program_base_name, "live");
    if (c.file == stored || c.outcome != LoadOutcome::kLoaded) {
      EXPECT_EQ(image_of(live), c.file == stored ? image_of(expected) : unchanged);
    }
  }
}

}  // namespace
}  // namespace zelk

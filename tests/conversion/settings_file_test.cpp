// The settings file: its byte layout, the program's identity, loading and saving.
#include "conversion/settings_file.h"

#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

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
  // band, bold, color, C = S = * 1, FFMA 0, reserved -1, rows 3, landscape, needed 1, S = * 0, columns
  EXPECT_EQ(image.substr(552), std::string("\4\3\2\1" "\1\0\0\0" "\1\0\0\0" "\1\0\0\0" "\0\0\0\0" "\377\377\377\377"
                                           "\3\0\0\0" "\1\0\0\0" "\1\0\0\0" "\0\0\0\0" "\376\377\377\377", 44));
}

struct FakePlatform : ProgramPlatform {
  std::optional<std::string> path;
  std::optional<VersionRecord> version;
  std::string version_file;
  std::optional<std::string> program_path() override { return path; }
  std::optional<VersionRecord> version_record(const std::string& file) override { return version_file = file, version; }
};

// A record as this release writes it, every field off its default.
SettingsRecord stored_record() {
  SettingsRecord record = test::record_for(5, "FN");
  std::strcpy(record.version, "3.3.0.1");
  std::strcpy(record.program_directory, "/");  // one character each: the live identity must not replace them
  std::strcpy(record.program_base_name, "p");
  record.bold_option = record.color_option = record.confirmed_as_checked_option = record.emphasize_needed_option = 0;
  record.ffma_option = record.submitted_as_checked_option = 1;
  set_print_format(record, kTabloid);
  return record;
}

TEST(SettingsFile, ProgramIdentity) {
#ifdef _WIN32
  const bool windows = true;
#else
  const bool windows = false;  // Linux programs carry no extension: nothing of the name is cut
#endif
  const VersionRecord release{kVersionSignature, 0x00030003, 0x00000001};
  const std::string d255 = "/" + std::string(253, 'd') + "/";
  struct Case {
    std::optional<std::string> path;
    std::optional<VersionRecord> version;
    std::string identity;  // directory|base name|version
    std::string version_file = "";  // where it is not the record's directory and name
  } cases[] = {
      {"/opt/zelk/zelk2html.exe", release, windows ? "/opt/zelk/|zelk2html|3.3.0.1" : "/opt/zelk/|zelk2html.exe|3.3.0.1"},
      {"/opt/zelk.v2/zelk2html-3.3", release, windows ? "/opt/zelk.v2/|zelk2html-3|3.3.0.1" : "/opt/zelk.v2/|zelk2html-3.3|3.3.0.1"},
      {"/z/zelk2html", std::nullopt, "/z/|zelk2html|"},
      {"/z/zelk2html", VersionRecord{0xFEEF04BC, 0x00030003, 1}, "/z/|zelk2html|"},
      {"/z/p", VersionRecord{kVersionSignature, 0xFFFFFFFF, 0xFFFFFFFF}, "/z/|p|"},  // 23 characters
      {std::nullopt, release, "||"},
      {"/z/abcdefghijklmno", release, "/z/|abcdefghijklmno|3.3.0.1"},
      // A name longer than its field keeps what fits; the program still starts.
      {"/z/abcdefghijklmnop", release, "/z/|abcdefghijklmno|3.3.0.1", windows ? "/z/abcdefghijklmnop.exe" : "/z/abcdefghijklmnop"},
      {d255 + "p", release, d255 + "|p|3.3.0.1"},
      {"/" + d255 + "p", release, "||"},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    platform.path = c.path;
    platform.version = c.version;
    SettingsRecord record = stored_record();  // a failed identity leaves none of the old one
    const bool ok = c.identity != "||";
    EXPECT_EQ(set_program_identity(record, platform), ok) << c.path.value_or("no path");
    EXPECT_EQ(std::string(record.program_directory) + "|" + record.program_base_name + "|" + record.version, c.identity);
    EXPECT_EQ(platform.version_file,
              !c.version_file.empty() ? c.version_file
              : ok ? std::string(record.program_directory) + record.program_base_name + (windows ? ".exe" : "") : "");
  }
}

SettingsRecord live_record(const char* version = "3.3.0.1") {
  SettingsRecord live = test::record_for(-1);
  std::strcpy(live.version, version);
  std::strcpy(live.program_directory, "/live/");
  std::strcpy(live.program_base_name, "zelk2html");
  return live;
}

// Cut-short and foreign files: the settings_file fuzz target and its corpus replay.
TEST(SettingsFile, LoadOutcomes) {
  test::ScratchFolder folder;
  const std::string path = folder / "zelk2html.ini", stored = image_of(stored_record());
  auto patched = [&](std::size_t offset, const std::string& bytes) { return std::string(stored).replace(offset, bytes.size(), bytes); };
  // Rows, print format 2, needed 0, S as checked 1, columns: as the file holds them.
  auto map = [](char rows, char columns) { return std::string{rows, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, columns, 0, 0, 0}; };
  struct Case {
    const char* id;
    std::optional<std::string> file;
    const char* live_version;
    LoadOutcome outcome;
    std::string after;  // band, rows x columns
  } cases[] = {
      {"no file", std::nullopt, "3.3.0.1", LoadOutcome::kNoFile, "-1 3x4"},
      {"this release", stored, "3.3.0.1", LoadOutcome::kLoaded, "5 4x6"},
      {"this version's text and more", patched(0, "3.3.0.10"), "3.3.0.1", LoadOutcome::kVersionChanged, "-1 3x4"},
      {"no version on either side", patched(0, std::string(16, '\0')), "", LoadOutcome::kLoaded, "5 4x6"},
      {"empty file", "", "", LoadOutcome::kVersionChanged, "-1 3x4"},
      {"band index 10", patched(552, std::string("\x0A\0\0\0", 4)), "3.3.0.1", LoadOutcome::kLoaded, "10 4x6"},
      {"every band", patched(552, std::string("\x0B\0\0\0", 4)), "3.3.0.1", LoadOutcome::kLoaded, "11 4x6"},
      {"band index 12", patched(552, std::string("\x0C\0\0\0", 4)), "3.3.0.1", LoadOutcome::kLoaded, "-1 4x6"},
      {"1 row, 19 columns", patched(576, map(1, 19)), "3.3.0.1", LoadOutcome::kLoaded, "5 1x4"},
      {"19 rows, 1 column", patched(576, map(19, 1)), "3.3.0.1", LoadOutcome::kLoaded, "5 3x1"},
      {"version filling its field", patched(0, "3.3.0.1-12345678"), "3.3.0.1-1234567", LoadOutcome::kLoaded, "5 4x6"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(path);
    if (c.file) test::write_file(path, *c.file);
    SettingsRecord live = live_record(c.live_version);
    EXPECT_EQ(load_settings_file(live, path), c.outcome) << c.id;
    EXPECT_EQ(std::to_string(live.band_index) + " " + std::to_string(live.map_rows) + "x" + std::to_string(live.map_columns),
              c.after) << c.id;
    const std::string unchanged = image_of(live_record(c.live_version)), as_read = image_of(live);
    EXPECT_EQ(as_read, c.outcome != LoadOutcome::kLoaded ? unchanged : c.file == stored ? stored : as_read) << c.id;
  }
  // A program folder that fills its field ends there, before a character the field's end cuts in two.
  test::write_file(path, patched(296, std::string(254, 'd') + "П"));
  SettingsRecord live = live_record();
  ASSERT_EQ(load_settings_file(live, path), LoadOutcome::kLoaded);
  EXPECT_EQ(std::string(live.program_directory), std::string(254, 'd'));
}

TEST(SettingsFile, SaveReplacesTheFileOnlyWhenComplete) {
  test::ScratchFolder folder;
  SettingsRecord record = stored_record();
  std::strcpy(record.program_directory, (folder / "").c_str());  // ends with the platform's separator
  std::strcpy(record.program_base_name, "zelk2html");
  std::strcpy(record.message, "Wrote 12 grids");
  ASSERT_EQ(settings_path(record), folder / "zelk2html.ini");
  ASSERT_TRUE(save_settings_file(record));
  EXPECT_EQ(test::read_file(folder / "zelk2html.ini"), image_of(record));
  EXPECT_EQ(record.message[0], '\0');
  EXPECT_FALSE(save_settings_file(record, folder / "missing/zelk2html.ini"));
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"zelk2html.ini"}));
  // Beyond 259 characters there is no settings path.
  std::strcpy(record.program_directory, ("/" + std::string(244, 'd') + "/").c_str());
  EXPECT_EQ(settings_path(record).size(), 259u);
  std::strcat(record.program_directory, "d");
  EXPECT_EQ(settings_path(record), "");
  EXPECT_FALSE(save_settings_file(record));
  EXPECT_EQ(load_settings_file(record), LoadOutcome::kNoFile);
}

}  // namespace
}  // namespace zelk

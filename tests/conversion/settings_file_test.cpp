// The program's identity, and loading and saving the settings file.
#include "conversion/settings_file.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace zelk {
namespace {

using test::read_file;
using test::write_file;

struct FakePlatform : ProgramPlatform {
  std::optional<std::string> path;
  std::optional<VersionRecord> version;
  std::string version_file;
  std::optional<std::string> program_path() override { return path; }
  std::optional<VersionRecord> version_record(const std::string& file) override {
    version_file = file;
    return version;
  }
};

TEST(SettingsFile, ProgramIdentity) {
#ifdef _WIN32
  const std::string exe = ".exe";
#else
  const std::string exe = "";
#endif
  const VersionRecord release{kVersionSignature, 0x00030003, 0x00000001};
  const std::string d255 = "/" + std::string(253, 'd') + "/";
  struct Case {
    std::optional<std::string> path;
    std::optional<VersionRecord> version;
    bool ok;
    std::string directory, base_name, version_text;
  };
  const Case cases[] = {
      {"/opt/zelk/zelk2html.exe", release, true, "/opt/zelk/", "zelk2html", "3.3.0.1"},
      {"/opt/zelk.v2/zelk2html", release, true, "/opt/zelk.v2/", "zelk2html", "3.3.0.1"},
      {"zelk2html", release, true, "", "zelk2html", "3.3.0.1"},
      {"/z/zelk2html", std::nullopt, true, "/z/", "zelk2html", ""},
      {"/z/zelk2html", VersionRecord{0xFEEF04BC, 0x00030003, 1}, true, "/z/", "zelk2html", ""},
      {"/z/p", VersionRecord{kVersionSignature, 0xFFFFFFFF, 0xFFFFFFFF}, true, "/z/", "p", ""},  // 23 characters
      {std::nullopt, release, false, "", "", ""},
      {"/z/abcdefghijklmno", release, true, "/z/", "abcdefghijklmno", "3.3.0.1"},
      {"/z/abcdefghijklmnop", release, false, "", "", ""},
      {d255 + "p", release, true, d255, "p", "3.3.0.1"},
      {"/" + d255 + "p", release, false, "", "", ""},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    platform.path = c.path;
    platform.version = c.version;
    SettingsRecord record;
    reset_to_defaults(record);
    std::strcpy(record.version, "old");
    EXPECT_EQ(set_program_identity(record, platform), c.ok) << c.path.value_or("no path");
    EXPECT_EQ(std::string(record.program_directory) + "|" + record.program_base_name + "|" + record.version,
              c.directory + "|" + c.base_name + "|" + c.version_text);
    EXPECT_EQ(platform.version_file, c.ok ? c.directory + c.base_name + exe : "");
  }
  EXPECT_EQ(version_text({kVersionSignature, 0xFFFF0001, 0x0002FFFE}), "65535.1.2.65534");
}

// A record as this release writes it, every field off its default.
SettingsRecord stored_record() {
  SettingsRecord record;
  reset_to_defaults(record);
  std::strcpy(record.version, "3.3.0.1");
  std::strcpy(record.lower_left_field, "FN");
  std::strcpy(record.program_directory, "/stored/");
  record.band_index = 5;
  record.bold_option = record.color_option = record.confirmed_as_checked_option = record.emphasize_needed_option = 0;
  record.ffma_option = record.submitted_as_checked_option = 1;
  set_print_format(record, kTabloid);
  return record;
}

std::string image_of(const SettingsRecord& record) {
  RecordBytes bytes;
  record_to_bytes(record, bytes);
  return std::string(reinterpret_cast<char*>(bytes), sizeof bytes);
}

SettingsRecord live_record(const char* version = "3.3.0.1") {
  SettingsRecord live;
  reset_to_defaults(live);
  std::strcpy(live.version, version);
  std::strcpy(live.program_directory, "/live/");
  return live;
}

TEST(SettingsFile, LoadOutcomes) {
  test::ScratchFolder folder;
  const std::string path = folder / "zelk2html.ini";
  SettingsRecord live = live_record();
  EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kNoFile);
  // A short file replaces only the bytes it holds; the rest keeps the defaults.
  struct Case {
    std::string file;
    LoadOutcome outcome;
    std::string fields;  // lower-left field, directory, band, bold, columns, format
  };
  const std::string full = image_of(stored_record());
  SettingsRecord other = stored_record();
  std::strcpy(other.version, "3.3.0.10");
  const Case cases[] = {
      {"", LoadOutcome::kVersionChanged, "|/live/|-1 1 4 1"},
      {"3.3", LoadOutcome::kVersionChanged, "|/live/|-1 1 4 1"},
      // Too short to hold the identity: the running program's stays.
      {full.substr(0, 7), LoadOutcome::kLoaded, "|/live/|-1 1 4 1"},
      {full.substr(0, 17), LoadOutcome::kLoaded, "F|/live/|-1 1 4 1"},
      {full.substr(0, 556), LoadOutcome::kLoaded, "FN|/stored/|5 1 4 1"},
      {full.substr(0, 594), LoadOutcome::kLoaded, "FN|/stored/|5 0 6 2"},
      {full + std::string(100, 'x'), LoadOutcome::kLoaded, "FN|/stored/|5 0 6 2"},
      {image_of(other), LoadOutcome::kVersionChanged, "|/live/|-1 1 4 1"},
  };
  for (const Case& c : cases) {
    write_file(path, c.file);
    live = live_record();
    EXPECT_EQ(load_settings_file(live, path), c.outcome) << c.file.size();
    EXPECT_EQ(std::string(live.lower_left_field) + "|" + live.program_directory + "|" +
                  std::to_string(live.band_index) + " " + std::to_string(live.bold_option) + " " +
                  std::to_string(live.map_columns) + " " + std::to_string(live.print_format),
              c.fields)
        << c.file.size();
  }
  // A program without a version record takes a file without one, but not an empty file.
  other.version[0] = '\0';
  write_file(path, image_of(other));
  live = live_record("");
  EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kLoaded);
  write_file(path, "");
  EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kVersionChanged);
}

TEST(SettingsFile, LoadBringsForeignValuesIntoRange) {
  test::ScratchFolder folder;
  SettingsRecord stored = stored_record();
  stored.band_index = 11;
  stored.bold_option = 2;
  stored.color_option = -1;
  stored.ffma_option = 7;
  stored.map_rows = 0;
  stored.map_columns = 19;
  stored.print_format = 9;
  std::string bytes = image_of(stored);
  for (auto [offset, size] : {std::pair{16, 8}, {24, 16}, {40, 256}, {296, 256}})
    bytes.replace(offset, size, size, 'x');
  write_file(folder / "foreign.ini", bytes);
  SettingsRecord live = live_record();
  ASSERT_EQ(load_settings_file(live, folder / "foreign.ini"), LoadOutcome::kLoaded);
  EXPECT_EQ(std::vector<int>({live.band_index, live.bold_option, live.color_option, live.ffma_option,
                              live.submitted_as_checked_option, live.map_rows, live.map_columns, live.print_format}),
            std::vector<int>({-1, 1, 1, 0, 1, 3, 4, 9}));
  // Fields without a terminator are cut at their last byte.
  EXPECT_EQ(std::vector<std::size_t>({std::strlen(live.lower_left_field), std::strlen(live.program_base_name),
                                      std::strlen(live.message), std::strlen(live.program_directory)}),
            std::vector<std::size_t>({7, 15, 255, 255}));
}

TEST(SettingsFile, SaveReplacesTheFileOnlyWhenComplete) {
  test::ScratchFolder folder;
  SettingsRecord record = stored_record();
  std::strcpy(record.program_directory, (folder / "").c_str());  // ends with the platform's separator
  std::strcpy(record.program_base_name, "zelk2html");
  std::strcpy(record.message, "Wrote 12 grids");
  ASSERT_EQ(settings_path(record), folder / "zelk2html.ini");
  ASSERT_TRUE(save_settings_file(record));
  const std::string bytes = read_file(folder / "zelk2html.ini");
  EXPECT_EQ(bytes, image_of(record));
  EXPECT_EQ(bytes.substr(40, 4) + bytes.substr(552, 4) + bytes.substr(572, 4),
            std::string("\0rot\x05\0\0\0\xFF\xFF\xFF\xFF", 12));  // message emptied, band 5, reserved -1
  // The temporary name of a 252-character file name does not fit the folder.
  const std::string old_file = folder / std::string(252, 'n');
  write_file(old_file, "old");
  EXPECT_FALSE(save_settings_file(record, old_file));
  EXPECT_FALSE(save_settings_file(record, folder / "missing/zelk2html.ini"));
  EXPECT_EQ(read_file(old_file), "old");
  EXPECT_EQ(folder.names(), (std::vector<std::string>{std::string(252, 'n'), "zelk2html.ini"}));
  // Beyond 259 characters there is no settings path.
  std::strcpy(record.program_directory, ("/" + std::string(250, 'd') + "/").c_str());
  EXPECT_EQ(settings_path(record), "");
  EXPECT_FALSE(save_settings_file(record));
  EXPECT_EQ(load_settings_file(record), LoadOutcome::kNoFile);
}

}  // namespace
}  // namespace zelk

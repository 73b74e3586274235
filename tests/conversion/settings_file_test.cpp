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

// Cut-short and foreign files: the settings_file fuzz target and its corpus replay.
TEST(SettingsFile, LoadOutcomes) {
  test::ScratchFolder folder;
  const std::string path = folder / "zelk2html.ini";
  SettingsRecord live = live_record();
  EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kNoFile);
  SettingsRecord other = stored_record();
  std::strcpy(other.version, "3.3.0.10");  // this version's text and more
  write_file(path, image_of(other));
  EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kVersionChanged);
  EXPECT_EQ(image_of(live), image_of(live_record()));
  write_file(path, image_of(stored_record()));
  EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kLoaded);
  EXPECT_EQ(image_of(live), image_of(stored_record()));
  // A program without a version record takes a file without one, but not an empty file.
  other.version[0] = '\0';
  write_file(path, image_of(other));
  live = live_record("");
  EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kLoaded);
  write_file(path, "");
  EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kVersionChanged);
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

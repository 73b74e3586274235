// The program's identity, and loading and saving the settings file.
#include "conversion/settings_file.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "scratch_folder.h"

namespace zelk {
namespace {

using test::read_file;
using test::ScratchFolder;
using test::write_file;

#ifdef _WIN32
constexpr const char* kExe = ".exe";
#else
constexpr const char* kExe = "";
#endif

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

constexpr VersionRecord kRelease{kVersionSignature, 0x00030003, 0x00000001};

TEST(SettingsFile, ProgramIdentity) {
  struct Case {
    const char* id;
    std::optional<std::string> path;
    std::optional<VersionRecord> version;
    bool ok;
    std::string directory, base_name, version_text;
  };
  const std::string dir255 = "/" + std::string(253, 'd') + "/";
  const Case cases[] = {
      {"plain", "/opt/zelk/zelk2html", kRelease, true, "/opt/zelk/", "zelk2html", "3.3.0.1"},
      {"extension", "/opt/zelk/zelk2html.exe", kRelease, true, "/opt/zelk/", "zelk2html", "3.3.0.1"},
      {"dot in folder", "/opt/zelk.v2/zelk2html", kRelease, true, "/opt/zelk.v2/", "zelk2html", "3.3.0.1"},
      {"no folder", "zelk2html", kRelease, true, "", "zelk2html", "3.3.0.1"},
      {"no version", "/z/zelk2html", std::nullopt, true, "/z/", "zelk2html", ""},
      {"bad signature", "/z/zelk2html", VersionRecord{0xFEEF04BC, 0x00030003, 1}, true, "/z/", "zelk2html", ""},
      {"version too long", "/z/p", VersionRecord{kVersionSignature, 0xFFFFFFFF, 0xFFFFFFFF}, true, "/z/", "p", ""},
      {"no path", std::nullopt, kRelease, false, "", "", ""},
      {"base name 15", "/z/abcdefghijklmno", kRelease, true, "/z/", "abcdefghijklmno", "3.3.0.1"},
      {"base name 16", "/z/abcdefghijklmnop", kRelease, false, "", "", ""},
      {"folder 255", dir255 + "p", kRelease, true, dir255, "p", "3.3.0.1"},
      {"folder 256", "/" + dir255 + "p", kRelease, false, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    FakePlatform platform;
    platform.path = c.path;
    platform.version = c.version;
    SettingsRecord record;
    reset_to_defaults(record);
    std::strcpy(record.version, "old");
    bool ok = set_program_identity(record, platform);
    EXPECT_EQ(ok, c.ok);
    EXPECT_STREQ(record.program_directory, c.directory.c_str());
    EXPECT_STREQ(record.program_base_name, c.base_name.c_str());
    EXPECT_STREQ(record.version, c.version_text.c_str());
    if (ok) {
      EXPECT_EQ(platform.version_file, c.directory + c.base_name + kExe);
    }
  }
  EXPECT_EQ(version_text({kVersionSignature, 0xFFFF0001, 0x0002FFFE}), "65535.1.2.65534");
}

// A record as this release writes it, with every field off its default.
SettingsRecord stored_record() {
  SettingsRecord record;
  reset_to_defaults(record);
  std::strcpy(record.version, "3.3.0.1");
  std::strcpy(record.lower_left_field, "FN");
  std::strcpy(record.program_directory, "/stored/");
  std::strcpy(record.program_base_name, "stored");
  record.band_index = 5;
  record.bold_option = record.color_option = record.confirmed_as_checked_option = 0;
  record.emphasize_needed_option = 0;
  record.ffma_option = record.submitted_as_checked_option = 1;
  set_print_format(record, kTabloid);
  return record;
}

std::string image_of(const SettingsRecord& record) {
  RecordBytes bytes;
  record_to_bytes(record, bytes);
  return std::string(reinterpret_cast<char*>(bytes), sizeof bytes);
}

SettingsRecord live_record() {
  SettingsRecord live;
  reset_to_defaults(live);
  std::strcpy(live.version, "3.3.0.1");
  std::strcpy(live.program_directory, "/live/");
  return live;
}

TEST(SettingsFile, LoadTakesAsManyBytesAsTheFileHolds) {
  ScratchFolder folder;
  const std::string path = folder / "zelk2html.ini";
  struct Case {
    std::size_t length;
    LoadOutcome outcome;
    const char* lower_left_field;
    std::int32_t band_index, bold_option, map_columns, print_format;
  };
  const std::string full = image_of(stored_record()) + std::string(100, 'x');
  for (Case c : {Case{0, LoadOutcome::kVersionChanged, "", -1, 1, 4, 1},
                 Case{3, LoadOutcome::kVersionChanged, "", -1, 1, 4, 1},
                 Case{7, LoadOutcome::kLoaded, "", -1, 1, 4, 1},
                 Case{17, LoadOutcome::kLoaded, "F", -1, 1, 4, 1},
                 Case{556, LoadOutcome::kLoaded, "FN", 5, 1, 4, 1},
                 Case{594, LoadOutcome::kLoaded, "FN", 5, 0, 6, 2},  // columns 06 00 | 00 00
                 Case{596, LoadOutcome::kLoaded, "FN", 5, 0, 6, 2},
                 Case{696, LoadOutcome::kLoaded, "FN", 5, 0, 6, 2}}) {
    SCOPED_TRACE(c.length);
    write_file(path, full.substr(0, c.length));
    SettingsRecord live = live_record();
    EXPECT_EQ(load_settings_file(live, path), c.outcome);
    EXPECT_STREQ(live.lower_left_field, c.lower_left_field);
    EXPECT_EQ(live.band_index, c.band_index);
    EXPECT_EQ(live.bold_option, c.bold_option);
    EXPECT_EQ(live.map_columns, c.map_columns);
    EXPECT_EQ(live.print_format, c.print_format);
    // The stored identity replaces the computed one only with the rest.
    EXPECT_STREQ(live.program_directory, c.length >= 552 ? "/stored/" : c.outcome == LoadOutcome::kLoaded ? "" : "/live/");
  }
  std::filesystem::remove(path);
  SettingsRecord live = live_record();
  EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kNoFile);
  EXPECT_STREQ(live.program_directory, "/live/");
}

TEST(SettingsFile, LoadComparesTheVersionExactly) {
  ScratchFolder folder;
  const std::string path = folder / "zelk2html.ini";
  for (const char* version : {"3.3.0.2", "3.3.0.10", "3.3.0", ""}) {
    SettingsRecord stored = stored_record();
    std::strcpy(stored.version, version);
    write_file(path, image_of(stored));
    SettingsRecord live = live_record();
    EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kVersionChanged) << version;
    EXPECT_EQ(image_of(live), image_of(live_record()));
  }
  // Without a version record of its own the program takes a file without one.
  SettingsRecord stored = stored_record();
  stored.version[0] = '\0';
  write_file(path, image_of(stored));
  SettingsRecord live = live_record();
  live.version[0] = '\0';
  EXPECT_EQ(load_settings_file(live, path), LoadOutcome::kLoaded);
  EXPECT_EQ(live.band_index, 5);
}

TEST(SettingsFile, LoadBringsForeignValuesIntoRange) {
  ScratchFolder folder;
  const std::string path = folder / "foreign.ini";
  SettingsRecord stored = stored_record();
  stored.band_index = 11;
  stored.bold_option = 2;
  stored.color_option = -1;
  stored.ffma_option = 7;
  stored.submitted_as_checked_option = 1;
  stored.map_rows = 0;
  stored.map_columns = 19;
  stored.print_format = 9;
  RecordBytes bytes;
  record_to_bytes(stored, bytes);
  std::memset(bytes + 16, 'Q', 8);    // lower-left field without terminator
  std::memset(bytes + 24, 'b', 16);   // base name
  std::memset(bytes + 40, 'm', 256);  // message
  std::memset(bytes + 296, 'd', 256); // directory
  write_file(path, std::string(reinterpret_cast<char*>(bytes), sizeof bytes));

  SettingsRecord live = live_record();
  ASSERT_EQ(load_settings_file(live, path), LoadOutcome::kLoaded);
  EXPECT_EQ(live.band_index, -1);
  EXPECT_EQ(live.bold_option, 1);
  EXPECT_EQ(live.color_option, 1);
  EXPECT_EQ(live.ffma_option, 0);
  EXPECT_EQ(live.submitted_as_checked_option, 1);
  EXPECT_EQ(live.map_rows, 3);
  EXPECT_EQ(live.map_columns, 4);
  EXPECT_EQ(live.print_format, 9);
  EXPECT_EQ(std::string(live.lower_left_field), std::string(7, 'Q'));
  EXPECT_EQ(std::string(live.program_base_name), std::string(15, 'b'));
  EXPECT_EQ(std::string(live.message), std::string(255, 'm'));
  EXPECT_EQ(std::string(live.program_directory), std::string(255, 'd'));

  for (std::int32_t band : {-2, 10, -1}) {
    stored = stored_record();
    stored.band_index = band;
    write_file(path, image_of(stored));
    live = live_record();
    load_settings_file(live, path);
    EXPECT_EQ(live.band_index, band == -2 ? -1 : band);
  }
}

TEST(SettingsFile, SaveWritesTheLittleEndianImageWithAnEmptyMessage) {
  ScratchFolder folder;
  SettingsRecord record = stored_record();
  std::strcpy(record.program_directory, (folder.path() + "/").c_str());
  std::strcpy(record.program_base_name, "zelk2html");
  std::strcpy(record.message, "Wrote 12 grids");
  EXPECT_EQ(settings_path(record), folder / "zelk2html.ini");
  ASSERT_TRUE(save_settings_file(record));
  EXPECT_EQ(record.message[0], '\0');
  std::string bytes = read_file(folder / "zelk2html.ini");
  ASSERT_EQ(bytes.size(), 596u);
  EXPECT_EQ(bytes, image_of(record));
  EXPECT_EQ(bytes.substr(40, 4), std::string("\0rot", 4));
  EXPECT_EQ(bytes.substr(552, 4), std::string("\x05\0\0\0", 4));
  EXPECT_EQ(bytes.substr(572, 4), "\xFF\xFF\xFF\xFF");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"zelk2html.ini"});

  SettingsRecord live = live_record();
  ASSERT_EQ(load_settings_file(live, settings_path(record)), LoadOutcome::kLoaded);
  EXPECT_EQ(image_of(live), image_of(record));
}

TEST(SettingsFile, FailedSaveLeavesTheOldFile) {
  ScratchFolder folder;
  SettingsRecord record = stored_record();
  // The name fits the folder, the temporary name beside it does not.
  const std::string old_file = folder / std::string(252, 'n');
  write_file(old_file, "old");
  EXPECT_FALSE(save_settings_file(record, old_file));
  EXPECT_EQ(read_file(old_file), "old");
  EXPECT_EQ(folder.names().size(), 1u);
  EXPECT_FALSE(save_settings_file(record, folder / "missing/zelk2html.ini"));
  EXPECT_FALSE(save_settings_file(record, folder.path()));
  // A path beyond 259 characters has no settings file.
  std::strcpy(record.program_directory, ("/" + std::string(250, 'd') + "/").c_str());
  std::strcpy(record.program_base_name, "zelk2html");
  EXPECT_EQ(settings_path(record), "");
  EXPECT_FALSE(save_settings_file(record));
  EXPECT_EQ(load_settings_file(record), LoadOutcome::kNoFile);
}

}  // namespace
}  // namespace zelk

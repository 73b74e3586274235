// The settings file as users meet it: a folder in its place, read-only,
// cut short by a crash or a full disk, or written by another program. Loading
// never fails loudly and never hands the rest of the program a value the
// dialog could not have set; saving either replaces the file whole or leaves
// it as it was.
#include <sys/stat.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "conversion/generate.h"
#include "conversion/settings_file.h"
#include "conversion/settings_record.h"
#include "tests/faults/fault_support.h"
#include "tests/faults/record_limits.h"
#include "zelk_version.h"

namespace zelk::faults {
namespace {

namespace fs = std::filesystem;

SettingsRecord running_program_record() {
  SettingsRecord record;
  reset_to_defaults(record);
  std::strcpy(record.version, ZELK_VERSION_TEXT);
  std::strcpy(record.program_base_name, "settings");
  return record;
}

// A record as the dialog saves it after a run in which every choice was
// changed from its default.
SettingsRecord changed_record() {
  SettingsRecord record = running_program_record();
  std::strcpy(record.lower_left_field, "EM");
  std::strcpy(record.program_directory, "/home/op/zelk/");
  record.band_index = 5;
  record.bold_option = record.color_option = record.confirmed_as_checked_option = record.emphasize_needed_option = 0;
  record.ffma_option = record.submitted_as_checked_option = 1;
  set_print_format(record, kTabloid);
  return record;
}

std::string image_of(const SettingsRecord& record) {
  RecordBytes bytes;
  record_to_bytes(record, bytes);
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

struct Field {
  const char* name;
  std::size_t offset;
  std::size_t size;
  bool identity = false;
};

constexpr Field kFields[] = {
    {"version", 0, 16},        {"lower-left field", 16, 8}, {"base name", 24, 16, true},
    {"message", 40, 256},      {"directory", 296, 256, true}, {"band index", 552, 4},
    {"bold", 556, 4},          {"color", 560, 4},           {"C = S = *", 564, 4},
    {"FFMA", 568, 4},          {"reserved", 572, 4},        {"map rows", 576, 4},
    {"print format", 580, 4},  {"needed", 584, 4},          {"S = *", 588, 4},
    {"map columns", 592, 4},
};

// A crash or a full disk can leave any prefix of the file. Every prefix
// either is refused as another version, leaving the live record alone, or
// loads the bytes it holds and the defaults for the rest.
TEST(SettingsFileFaults, TruncatedAtEveryLength) {
  FaultFolder folder;
  const std::string full = image_of(changed_record());
  SettingsRecord defaults;
  reset_to_defaults(defaults);
  const std::string default_image = image_of(defaults);
  const std::size_t version_length = std::strlen(ZELK_VERSION_TEXT);

  for (std::size_t length = 0; length <= kSettingsRecordSize; ++length) {
    SCOPED_TRACE("length " + std::to_string(length));
    // A new file each time: ext4 flushes a file truncated and rewritten.
    const std::string path = folder / ("settings-" + std::to_string(length) + ".ini");
    const std::string prefix = full.substr(0, length);
    write_file(path, prefix);
    SettingsRecord live = running_program_record();
    const std::string live_before = image_of(live);

    LoadOutcome outcome = load_settings_file(live, path);
    EXPECT_EQ(read_file(path), prefix);
    if (length < version_length) {
      EXPECT_EQ(outcome, LoadOutcome::kVersionChanged);
      EXPECT_EQ(image_of(live), live_before);
      continue;
    }
    ASSERT_EQ(outcome, LoadOutcome::kLoaded);
    EXPECT_EQ(out_of_range(live), "");
    const std::string loaded = image_of(live);
    for (const Field& field : kFields) {
      if (field.offset + field.size <= length) {
        EXPECT_EQ(loaded.substr(field.offset, field.size), full.substr(field.offset, field.size)) << field.name;
      } else if (field.offset >= length) {
        // The program's identity may come from the running program instead:
        // either way the next save goes where the program is.
        const std::string value = loaded.substr(field.offset, field.size);
        if (value != default_image.substr(field.offset, field.size)) {
          EXPECT_TRUE(field.identity && value == live_before.substr(field.offset, field.size)) << field.name;
        }
      }
    }
  }
}

std::string describe(const SettingsRecord& r) {
  return "band " + std::to_string(r.band_index) + ", options " + std::to_string(r.bold_option) +
         std::to_string(r.color_option) + std::to_string(r.confirmed_as_checked_option) +
         std::to_string(r.ffma_option) + std::to_string(r.emphasize_needed_option) +
         std::to_string(r.submitted_as_checked_option) + ", format " + std::to_string(r.print_format) + " " +
         std::to_string(r.map_columns) + "x" + std::to_string(r.map_rows) + ", field '" +
         visible(r.lower_left_field) + "', message " + std::to_string(std::strlen(r.message)) +
         " bytes, settings path " + std::to_string(settings_path(r).size()) + " bytes";
}

std::string little_endian(std::int32_t value) {
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i)));
  return bytes;
}

struct Patch {
  std::size_t offset;
  std::string bytes;  // laid over the dialog's own image at offset
};

struct ForeignCase {
  const char* id;
  std::vector<Patch> patches;
  std::string expected;
};

// The loaded record, then what Generate makes of it on a one-grid listing
// with the lower-left field from the file, as the command line takes it.
std::string load_and_generate(const std::string& image) {
  write_file("settings.ini", image);
  write_file("listing.csv", "Grid,2M,23CM\nFN42,C,W\n");
  SettingsRecord record = running_program_record();
  if (load_settings_file(record, "settings.ini") != LoadOutcome::kLoaded) return "version changed";
  std::string report = describe(record);
  GenerateResult result = generate(record, request_for("listing.csv", "page.html", record.lower_left_field));
  return report + " | " + visible(result.message);
}

// The stored record as loaded, and what Generate makes of it.
const std::string kAsStored =
    "band 5, options 000101, format 2 6x4, field 'FN', message 0 bytes, settings path 12 bytes";
const std::string kStoredRun =
    " | Wrote    1 (1 FFMA) grids to page.html\\n\\nPrint on 11x17 sheet in Landscape mode\\n\\n";

const ForeignCase kForeignCases[] = {
    {"band index 11", {{552, little_endian(11)}},
     "band -1, options 000101, format 2 6x4, field 'FN', message 0 bytes, settings path 12 bytes"
     " | ERROR: Didn't select a band."},
    {"band index INT_MIN", {{552, little_endian(INT_MIN)}},
     "band -1, options 000101, format 2 6x4, field 'FN', message 0 bytes, settings path 12 bytes"
     " | ERROR: Didn't select a band."},
    {"options of 2 and -1", {{556, little_endian(2) + little_endian(-1) + little_endian(2) + little_endian(-1)}},
     "band 5, options 111001, format 2 6x4, field 'FN', message 0 bytes, settings path 12 bytes"
     " | Wrote    1 grids to page.html\\n\\nPrint on 11x17 sheet in Landscape mode to a color printer.\\n\\n"},
    {"map of no rows or columns",
     {{576, little_endian(0) + little_endian(2) + little_endian(1) + little_endian(1) + little_endian(0)}},
     "band 5, options 000111, format 2 4x3, field 'FN', message 0 bytes, settings path 12 bytes"
     " | Wrote    1 (1 FFMA) grids to page.html\\n\\nPrint on 8.5x11 sheet in Landscape mode\\n\\n"},
    {"map of a million fields", {{576, little_endian(1000000)}},
     "band 5, options 000101, format 2 6x3, field 'FN', message 0 bytes, settings path 12 bytes" + kStoredRun},
    // Fields past R are drawn with the characters that follow R; with no
    // print sentence for 18 columns the summary keeps only its line ends.
    {"largest map from the last field",
     {{16, std::string("RR\0", 3)},
      {576, little_endian(18) + little_endian(2) + little_endian(0) + little_endian(1) + little_endian(18)}},
     "band 5, options 000101, format 2 18x18, field 'RR', message 0 bytes, settings path 12 bytes"
     " | Wrote    0 (0 FFMA) grids to page.html\\n\\n\\n\\n"},
    {"print format 7", {{580, little_endian(7)}},
     "band 5, options 000101, format 7 6x4, field 'FN', message 0 bytes, settings path 12 bytes" + kStoredRun},
    {"lower-left field outside A to R", {{16, std::string("Z\x01\0", 3)}},
     "band 5, options 000101, format 2 6x4, field 'Z\\x01', message 0 bytes, settings path 12 bytes"
     " | ERROR: Z\\x01 is not a valid grid field"},
    {"lower-left field without terminator", {{16, "FNFNFNFN"}},
     "band 5, options 000101, format 2 6x4, field 'FNFNFNF', message 0 bytes, settings path 12 bytes" + kStoredRun},
    {"message buffer full of text", {{40, std::string(256, 'm')}},
     "band 5, options 000101, format 2 6x4, field 'FN', message 255 bytes, settings path 12 bytes" + kStoredRun},
    {"base name without terminator", {{24, std::string(16, 'b')}},
     "band 5, options 000101, format 2 6x4, field 'FN', message 0 bytes, settings path 19 bytes" + kStoredRun},
    {"directory without terminator", {{296, std::string(256, 'd')}},
     "band 5, options 000101, format 2 6x4, field 'FN', message 0 bytes, settings path 0 bytes" + kStoredRun},
    {"version without terminator", {{0, std::string(ZELK_VERSION_TEXT) + std::string(16, '9')}}, "version changed"},
    {"bytes after the version's terminator", {{0, std::string(ZELK_VERSION_TEXT "\0junk", 12)}}, kAsStored + kStoredRun},
    {"a file longer than the record", {{kSettingsRecordSize, std::string(4000, '\xFF')}}, kAsStored + kStoredRun},
};

TEST(SettingsFileFaults, ValuesTheDialogNeverWrites) {
  SettingsRecord base = changed_record();
  std::strcpy(base.lower_left_field, "FN");
  base.program_directory[0] = '\0';  // settings.ini in the working folder
  const std::string image = image_of(base);
  for (const ForeignCase& c : kForeignCases) {
    SCOPED_TRACE(c.id);
    std::string patched = image;
    for (const Patch& patch : c.patches) {
      if (patched.size() < patch.offset + patch.bytes.size()) patched.resize(patch.offset + patch.bytes.size());
      patched.replace(patch.offset, patch.bytes.size(), patch.bytes);
    }
    FaultFolder folder;
    std::string report = run_in_child(folder.path(), [&] { return load_and_generate(patched); });
    EXPECT_EQ(report, c.expected);
  }
}

TEST(SettingsFileFaults, FolderInPlaceOfTheFile) {
  FaultFolder folder;
  fs::create_directory(folder / "settings.ini");
  SettingsRecord live = running_program_record();
  std::string directory = folder.path() + "/";
  std::strcpy(live.program_directory, directory.c_str());
  const std::string before = image_of(live);

  EXPECT_EQ(load_settings_file(live), LoadOutcome::kNoFile);
  EXPECT_EQ(image_of(live), before);
  EXPECT_EQ(save_settings_after_generate(live), "ERROR: Could not save settings file " + directory + "settings.ini");
  EXPECT_TRUE(fs::is_directory(folder / "settings.ini"));
  EXPECT_EQ(names_in(folder.path()), "settings.ini");
}

// Root ignores permission bits, so these cases run as an unprivileged user.
TEST(SettingsFileFaults, ReadOnlyFileOrFolder) {
  const std::string previous = image_of(changed_record());
  for (auto [path, mode] : {std::pair{"settings.ini", 0444}, {".", 0555}}) {
    SCOPED_TRACE(path);
    FaultFolder folder;
    write_file(folder / "settings.ini", previous);
    folder.hand_to_unprivileged_user();
    ::chmod((folder / path).c_str(), mode);
    std::string report = run_in_child(folder.path(), [&] {
      if (std::string problem = become_unprivileged_user(); !problem.empty()) return problem;
      SettingsRecord live = running_program_record();
      bool loaded = load_settings_file(live, "settings.ini") == LoadOutcome::kLoaded;
      live.band_index = 9;
      bool saved = save_settings_file(live, "settings.ini");
      return std::string(loaded ? "loaded" : "not loaded") + " | saved: " + (saved ? "yes" : "no") +
             " | settings.ini: " + (read_file("settings.ini") == previous ? "previous" : "changed") +
             " | files: " + names_in(".");
    });
    ZELK_SKIP_IF_CHILD_SKIPPED(report);
    EXPECT_EQ(report, "loaded | saved: no | settings.ini: previous | files: settings.ini");
  }
}

}  // namespace
}  // namespace zelk::faults

// Generate against hostile listings and places to write: a clear message, no
// crash, and a failed run leaves the previous page and settings file as they
// were. Each case runs in a child process inside its scratch folder, so
// messages carry short relative names and a crash fails only its case.
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "conversion/generate.h"
#include "conversion/settings_file.h"
#include "conversion/settings_record.h"
#include "tests/faults/fault_support.h"

namespace zelk::faults {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPreviousPage = "<html>previous page</html>\n";
constexpr const char* kPreviousSettings = "previous settings file\n";

std::string page_state(const std::string& page) {
  std::error_code ec;
  if (!fs::exists(page, ec)) return "missing";
  if (fs::is_directory(page, ec)) return "a folder";
  std::string bytes = read_file(page);
  if (bytes == kPreviousPage) return "previous";
  bool whole = bytes.rfind("<html>\n", 0) == 0 && bytes.size() > 8 && bytes.substr(bytes.size() - 8) == "</html>\n";
  return whole ? "complete" : "cut short at " + std::to_string(bytes.size()) + " bytes";
}

SettingsRecord two_metre_record() {
  SettingsRecord record;
  reset_to_defaults(record);
  record.band_index = 1;  // "2 M (144 MHz)"
  std::strcpy(record.program_base_name, "settings");
  return record;
}

// Generate from listing.csv into page.html, in the working folder; then what
// it said and what the folder holds.
std::string generate_here() {
  SettingsRecord record = two_metre_record();
  GenerateResult result = generate(record, request_for("listing.csv", "page.html", "FN"));
  const char* status = result.status == GenerateStatus::kWritten  ? "written"
                       : result.status == GenerateStatus::kFailed ? "failed"
                                                                 : "refused";
  return std::string(status) + ": " + visible(result.message) + " | page.html: " + page_state("page.html") +
         " | files: " + names_in(".");
}

// ---- The listing and the page ----------------------------------------------

struct HostileCase {
  const char* id;
  std::function<void(const FaultFolder&)> make;
  std::string expected;
};

std::function<void(const FaultFolder&)> listing_of(std::string bytes) {
  return [bytes](const FaultFolder& folder) { write_file(folder / "listing.csv", bytes); };
}

std::string every_byte_value() {
  std::string bytes;
  for (int round = 0; round < 64; ++round)
    for (int c = 0; c < 256; ++c) bytes.push_back(static_cast<char>(c));
  return bytes;
}

const std::string kMegabyte(1 << 20, 'X');
const std::string kBothKept = " | page.html: previous | files: listing.csv page.html";
const std::string kUnrecognized = "failed: ERROR: Unrecognized format of input file listing.csv\\n" + kBothKept;
const std::string kOneGrid =
    "written: Wrote    1 grids to page.html\\n\\nPrint on 8.5x11 sheet in Landscape mode to a color printer.\\n\\n"
    " | page.html: complete | files: listing.csv page.html";

const HostileCase kHostileCases[] = {
    {"listing is a folder", [](const FaultFolder& folder) { fs::create_directory(folder / "listing.csv"); },
     "failed: ERROR: Could not open input file listing.csv" + kBothKept},
    {"listing missing", [](const FaultFolder&) {},
     "failed: ERROR: Could not open input file listing.csv | page.html: previous | files: page.html"},
    {"empty", listing_of(""), "failed: Read     0 worked grids from listing.csv\\n" + kBothKept},
    {"nothing but NUL bytes", listing_of(std::string(4096, '\0')), kUnrecognized},
    {"a NUL inside the header", listing_of(std::string("Gr\0id,2M\nFN42,C\n", 16)), kUnrecognized},
    // A NUL cuts a grid like the end of a C string; as a status it is no
    // credit. Only FN42 counts.
    {"NUL bytes inside rows", listing_of(std::string("Grid,2M\nFN42,C\nFN\0" "43,W\nFN44,\0\n", 28)), kOneGrid},
    {"every byte value", listing_of(every_byte_value()), kUnrecognized},
    {"UTF-16 with byte order mark", listing_of(std::string("\xFF\xFEG\0r\0i\0d\0,\0" "2\0M\0\n\0", 18)),
     kUnrecognized},
    {"a data line of a megabyte", listing_of("Grid,2M\n" + kMegabyte + ",C\nFN42,C\n"), kOneGrid},
    {"a header label of a megabyte", listing_of("Grid," + kMegabyte + ",2M\nFN42,W,C\n"), kOneGrid},
    {"a megabyte without a line end", listing_of("Grid,2M\nFN42,C\n" + kMegabyte), kOneGrid},
    {"a header of a megabyte without a line end", listing_of("Grid," + kMegabyte),
     "failed: ERROR: No match found for band 2 M (144 MHz) in listing.csv\\n\\n" + kBothKept},
    {"page is a folder",
     [](const FaultFolder& folder) {
       listing_of("Grid,2M\nFN42,C\n")(folder);
       fs::remove(folder / "page.html");
       fs::create_directories(folder / "page.html");
       write_file(folder / "page.html/inside", "kept");
     },
     "failed: ERROR: Could not create output file page.html | page.html: a folder | files: listing.csv page.html"},
};

TEST(GenerateFaults, HostileListingsAndPages) {
  for (const HostileCase& c : kHostileCases) {
    SCOPED_TRACE(c.id);
    FaultFolder folder;
    write_file(folder / "page.html", kPreviousPage);
    c.make(folder);
    EXPECT_EQ(run_in_child(folder.path(), generate_here), c.expected);
    if (fs::is_directory(folder / "page.html")) {
      EXPECT_EQ(read_file(folder / "page.html/inside"), "kept");
    }
  }
}

// Root ignores permission bits, so these cases run as an unprivileged user.
TEST(GenerateFaults, ReadOnlyPlaces) {
  struct Case {
    const char* path;  // made read-only
    mode_t mode;
    std::string expected;
  };
  const Case cases[] = {
      {".", 0555, "failed: ERROR: Could not create output file page.html" + kBothKept},
      {"page.html", 0444, "failed: ERROR: Could not create output file page.html" + kBothKept},
      {"listing.csv", 0000, "failed: ERROR: Could not open input file listing.csv" + kBothKept},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    FaultFolder folder;
    write_file(folder / "page.html", kPreviousPage);
    write_file(folder / "listing.csv", "Grid,2M\nFN42,C\n");
    folder.hand_to_unprivileged_user();
    ::chmod((folder / c.path).c_str(), c.mode);
    std::string report = run_in_child(folder.path(), [] {
      if (std::string problem = become_unprivileged_user(); !problem.empty()) return problem;
      return generate_here();
    });
    ZELK_SKIP_IF_CHILD_SKIPPED(report);
    EXPECT_EQ(report, c.expected);
  }
}

// ---- A full disk ----------------------------------------------------------

// The page (some 60 KB for the default map) is written where less room is
// left; then the settings file, on a disk that `fill_up` has filled to the
// last byte. Both must fail and keep their previous versions.
std::string generate_on_full_disk(const std::function<void()>& fill_up) {
  std::string report = generate_here();
  fill_up();
  SettingsRecord record = two_metre_record();
  bool saved = save_settings_file(record, "settings.ini");
  return report + " | settings saved: " + (saved ? "yes" : "no") +
         " | settings.ini: " + (read_file("settings.ini") == kPreviousSettings ? "previous" : "changed");
}

std::string full_disk_report(const std::string& filler) {
  return "failed: ERROR: Could not write output file page.html | page.html: previous | files: " + filler +
         "listing.csv page.html settings.ini | settings saved: no | settings.ini: previous";
}

// On a small tmpfs, and (without privilege) under a file size limit below
// the settings file's 596 bytes, which the kernel enforces like a full disk.
TEST(GenerateFaults, DiskFillsUpWhileThePageIsWritten) {
  for (bool tmpfs : {false, true}) {  // the tmpfs case last: it may be skipped
    SCOPED_TRACE(tmpfs ? "tmpfs" : "file size limit");
    FaultFolder folder;
    fs::create_directory(folder / "small");
    std::string report = run_in_child(folder.path(), [tmpfs] {
      std::string problem = tmpfs ? mount_small_file_system("small", 64) : limit_file_size(500);
      if (!problem.empty()) return problem;
      if (::chdir("small") != 0) return std::string("chdir failed");
      write_file("listing.csv", "Grid,2M\nFN42,C\n");
      write_file("page.html", kPreviousPage);
      write_file("settings.ini", kPreviousSettings);
      if (!tmpfs) return generate_on_full_disk([] {});
      // Less room than a page needs, but some: the temporary page is created
      // and fills up part-way.
      write_file("filler", std::string(40 * 1024, 'f'));
      return generate_on_full_disk([] { write_file("filler", std::string(64 * 1024, 'f')); });
    });
    ZELK_SKIP_IF_CHILD_SKIPPED(report);
    EXPECT_EQ(report, full_disk_report(tmpfs ? "filler " : ""));
  }
}

// The page fits, the field images copied beside it do not all fit. A copy cut
// short would stay for good (an image there is never replaced), so every
// image left must be whole.
std::string copy_field_images_until_full(std::size_t picture_size, const std::function<std::string()>& fill_up) {
  FaultFolder folder;
  fs::create_directories(folder / "program/images");
  const std::string picture(picture_size, 'g');
  for (char west = 'F'; west <= 'I'; ++west)
    for (char south = 'N'; south <= 'P'; ++south)
      write_file(folder / ("program/images/" + std::string{west, south} + ".gif"), picture);
  fs::create_directory(folder / "small");
  return run_in_child(folder.path(), [&] {
    if (std::string problem = fill_up(); !problem.empty()) return problem;
    write_file("small/listing.csv", "Grid,2M\nFN42,C\n");
    SettingsRecord record = two_metre_record();
    GenerateRequest request = request_for("small/listing.csv", "small/page.html", "FN");
    request.field_images_folder = "program/images";
    GenerateResult result = generate(record, request);
    std::string cut;
    for (const auto& entry : fs::directory_iterator("small/images"))
      if (read_file(entry.path().string()) != picture) cut += " " + entry.path().filename().string();
    return visible(result.message) + " | page.html: " + page_state("small/page.html") +
           " | images cut short:" + (cut.empty() ? " none" : cut);
  });
}

constexpr const char* kImagesReport =
    "Wrote    1 grids to small/page.html\\n\\nPrint on 8.5x11 sheet in Landscape mode to a color printer."
    "\\n\\n | page.html: complete | images cut short: none";

TEST(GenerateFaults, DiskFillsUpWhileFieldImagesAreCopied) {
  // Pictures larger than the limit, the page smaller.
  EXPECT_EQ(copy_field_images_until_full(200000, [] { return limit_file_size(150000); }), kImagesReport);
  std::string report = copy_field_images_until_full(6000, [] { return mount_small_file_system("small", 96); });
  ZELK_SKIP_IF_CHILD_SKIPPED(report);
  EXPECT_EQ(report, kImagesReport);
}

}  // namespace
}  // namespace zelk::faults

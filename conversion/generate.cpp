#include "conversion/generate.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <system_error>
#include <utility>

#include "conversion/field_images.h"
#include "platform/file_paths.h"
#include "platform/file_replace.h"
#include "conversion/settings_file.h"
#include "listing/band_table.h"
#include "listing/listing_reader.h"
#include "mappage/chase.h"
#include "mappage/contents_page.h"
#include "mappage/map_page.h"
#include "record/bounded_text.h"

namespace zelk {

namespace {

bool is_field_letter(char c) { return c >= 'A' && c <= 'R'; }

// The any band's index, and read_listing's notes with its grids counted
// once each, however many rows name them.
GridIndex read_any_band(std::FILE* in, const std::string& path, SettingsRecord& record, ListingNotes& notes) {
  ListingBands listing = read_every_band(in, path);
  notes.header_warnings = std::move(listing.warnings);
  if (!listing.readable) {
    notes.message = "ERROR: Unrecognized format of input file " + path + "\n";
  } else {
    char count[40];
    std::snprintf(count, sizeof count, "Read  %4d worked grids from ",
                  static_cast<int>(std::min<std::size_t>(listing.grids.size(), INT_MAX)));
    notes.message = count + path + "\n";
  }
  copy_into(record.message, notes.message.c_str());
  return listing.readable ? any_band_index(listing, record) : GridIndex();
}

}  // namespace

std::string check_choices(const SettingsRecord& record, const GenerateRequest& request) {
  if (!request.has_input_file) return "ERROR: Didn't specify input file.";
  if (request.output_path.empty()) return "ERROR: Didn't specify output file.";
  if (record.band_index < 0) return "ERROR: Didn't select a band.";
  const std::string& field = request.ll_field_text;
  if (request.find_field) return std::string();
  if (field.empty()) return "ERROR: Didn't specify the starting field.";
  if (field.size() < 2 || !is_field_letter(field[0]) || !is_field_letter(field[1]))
    return "ERROR: " + field + " is not a valid grid field";
  return std::string();
}

std::string replacement_refusal(const std::string& page, const GenerateRequest& request) {
  // The listing may be the user's only copy of years of log.
  if (same_file(page, request.input_path))
    return "ERROR: The page " + page + " would replace the listing " + request.input_path;
  for (const auto& [what, path] : request.kept_files)
    if (same_file(page, path)) return "ERROR: The page " + page + " would replace the " + what + " " + path;
  const std::string& settings = request.settings_to_save;
  if (same_file(settings, request.input_path))
    return "ERROR: The settings file " + settings + " would replace the listing " + request.input_path;
  if (same_file(settings, page)) return "ERROR: The settings file " + settings + " would replace the page " + page;
  return std::string();
}

namespace {

// The message whole for the caller to show; the record's buffer keeps what fits.
GenerateResult failure(SettingsRecord& record, const std::string& message, std::error_code reason = {}) {
  copy_into(record.message, message.c_str());
  return {GenerateStatus::kFailed, message, reason};
}

// The whole summary, whatever the path's length; the record's message
// buffer keeps what fits.
std::string compose_summary(SettingsRecord& record, const GenerateRequest& request, int credited, int ffma) {
  char counts[64];
  if (record.ffma_option != 0) std::snprintf(counts, sizeof counts, "Wrote %4d (%d FFMA) grids to ", credited, ffma);
  else std::snprintf(counts, sizeof counts, "Wrote %4d grids to ", credited);
  std::string summary = counts + request.output_path;
  if (request.find_field)
    summary +=
        std::string(", lower-left field ") + record.lower_left_field + " (its map holds the most credited grids)";
  summary += "\n\n";
  if (request.mention_view_button) summary += "Click the 'View' button to see the output.\n\n";
  // A map size of no print format (a foreign settings file) gets no advice,
  // not a fragment of it.
  switch (record.map_columns) {
    case 3: summary += "Print on 8.5x11 sheet in Portrait mode"; break;
    case 4: summary += "Print on 8.5x11 sheet in Landscape mode"; break;
    case 6: summary += "Print on 11x17 sheet in Landscape mode"; break;
    default: return summary;
  }
  if (record.color_option != 0) summary += " to a color printer.";
  return summary + "\n\n";
}

}  // namespace

std::optional<GenerateResult> read_listing_file(SettingsRecord& record, const std::string& input_path,
                                                const std::function<void(std::FILE*)>& read) {
  std::error_code ec;
  if (std::filesystem::is_directory(path_of(input_path), ec))
    return failure(record, "ERROR: Could not open input file " + input_path,
                   std::make_error_code(std::errc::is_a_directory));
  errno = 0;
  // Raw bytes: in text mode Windows ends a file at its first 0x1A, and the
  // reader takes CR LF and LF line ends alike.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> listing(std::fopen(input_path.c_str(), "rb"), &std::fclose);
  if (listing == nullptr) return failure(record, "ERROR: Could not open input file " + input_path, last_system_error());
  errno = 0;
  read(listing.get());
  const std::error_code read_error = last_system_error();
  // A read error ends the listing as its end does; say so rather than
  // report the rows read before it as the whole listing.
  if (std::ferror(listing.get()) != 0)
    return failure(record, "ERROR: Could not read input file " + input_path, read_error);
  return std::nullopt;
}

GenerateResult write_page(SettingsRecord& record, const GenerateRequest& request,
                          const std::function<std::optional<GenerateResult>(GridIndex&)>& read_index) {
  // The page replaces the old one only when complete, so a failed run
  // leaves the previous page as it was.
  ReplacementFile page(request.output_path, "w");
  if (page.stream() == nullptr)
    return failure(record, "ERROR: Could not create output file " + request.output_path, page.error());
  GridIndex index;
  if (std::optional<GenerateResult> failed = read_index(index)) return *failed;
  // No credited grid to place a map by is a field not given, as before.
  if (request.find_field && !find_lower_left_field(index, record))
    return failure(record, "ERROR: Didn't specify the starting field.");
  int ffma = 0;
  const int credited = write_map_page(index, page.stream(), ffma, record, request.page_time);
  if (!page.commit())
    return failure(record, "ERROR: Could not write output file " + request.output_path, page.error());
  // The page is complete: a picture that cannot be copied only leaves its field plain.
  // A page sent into a device or pipe has no folder of its own.
  std::string images_problem;
  if (!request.field_images_folder.empty() && !page.in_place())
    images_problem =
        add_missing_field_images(record, path_of(request.field_images_folder), path_of(request.output_path)).problem;

  if (!request.ffma_list_path.empty()) {
    ReplacementFile list(request.ffma_list_path, "w");
    if (list.stream() != nullptr)
      write_ffma_list(list.stream(), ffma_needs(index, record), record.band_index, request.page_time);
    if (list.stream() == nullptr || !list.commit())
      return failure(record, "ERROR: Could not write output file " + request.ffma_list_path, list.error());
  }
  const std::string summary = compose_summary(record, request, credited, ffma);
  copy_into(record.message, summary.c_str());
  return {GenerateStatus::kWritten, summary, {}, images_problem, credited, ffma};
}

void take_lower_left_field(SettingsRecord& record, const GenerateRequest& request) {
  if (request.find_field) return;
  const std::string& ll_field_text = request.ll_field_text;
  std::memset(record.lower_left_field, 0, sizeof record.lower_left_field);
  record.lower_left_field[0] = ll_field_text[0];
  record.lower_left_field[1] = ll_field_text[1];
}

GenerateResult generate(SettingsRecord& record, const GenerateRequest& request) {
  std::string refusal = check_choices(record, request);
  if (!refusal.empty()) return {GenerateStatus::kRefused, refusal};
  refusal = replacement_refusal(request.output_path, request);
  if (refusal.empty() && !request.ffma_list_path.empty())
    refusal = same_file(request.ffma_list_path, request.output_path)
                  ? "ERROR: The FFMA list " + request.ffma_list_path + " would replace the page " + request.output_path
                  : replacement_refusal(request.ffma_list_path, request);
  if (!refusal.empty()) return {GenerateStatus::kRefused, refusal};

  take_lower_left_field(record, request);
  try {
    BandTotals off_map;
    ListingNotes notes;
    GenerateResult result = write_page(record, request, [&](GridIndex& index) -> std::optional<GenerateResult> {
      if (std::optional<GenerateResult> failed = read_listing_file(record, request.input_path, [&](std::FILE* in) {
            index = record.band_index == kAnyBand ? read_any_band(in, request.input_path, record, notes)
                                                  : read_listing(in, request.input_path.c_str(), record, &notes);
          }))
        return failed;
      if (index.empty()) return GenerateResult{GenerateStatus::kFailed, notes.message};
      off_map = count_off_map(index, record);
      return std::nullopt;
    });
    result.off_map = off_map;
    result.header_warnings = std::move(notes.header_warnings);
    return result;
  } catch (const std::bad_alloc&) {
    return failure(record, "ERROR: Not enough memory to read " + request.input_path);
  }
}

std::error_code save_contents_page(const std::string& path, const std::string& listing_name,
                                   const std::vector<BandTotals>& bands, std::time_t page_time) {
  ReplacementFile page(path, "w");
  if (page.stream() == nullptr) return page.error();
  write_contents_page(page.stream(), listing_name, bands, page_time);
  return page.commit() ? std::error_code() : page.error();
}

std::string save_settings_after_generate(SettingsRecord& record, const std::string& path) {
  std::error_code reason;
  if (save_settings_file(record, path, &reason)) return std::string();
  return "ERROR: Could not save settings file " + path + (reason ? ": " + reason.message() : std::string());
}

}  // namespace zelk

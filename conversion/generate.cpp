#include "conversion/generate.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <new>
#include <system_error>
#include <utility>

#include "conversion/bounded_text.h"
#include "conversion/field_images.h"
#include "conversion/file_paths.h"
#include "conversion/file_replace.h"
#include "conversion/settings_file.h"
#include "listing/listing_reader.h"
#include "mappage/map_page.h"

namespace zelk {

namespace {

bool is_field_letter(char c) { return c >= 'A' && c <= 'R'; }

}  // namespace

std::string check_choices(const SettingsRecord& record, const GenerateRequest& request) {
  if (!request.has_input_file) return "ERROR: Didn't specify input file.";
  if (request.output_path.empty()) return "ERROR: Didn't specify output file.";
  if (record.band_index < 0) return "ERROR: Didn't select a band.";
  if (record.map_rows < 0 || record.map_columns < 0) return "ERROR: Didn't select a print format.";
  const std::string& field = request.ll_field_text;
  if (field.empty()) return "ERROR: Didn't specify the starting field.";
  if (field.size() < 2 || !is_field_letter(field[0]) || !is_field_letter(field[1])) {
    char message[64];
    format_into(message, sizeof message, "ERROR: %s is not a valid grid field", field.c_str());
    return message;
  }
  return std::string();
}

std::string replacement_refusal(const std::string& page, const GenerateRequest& request) {
  // The listing may be the user's only copy of years of log.
  if (same_file(page, request.input_path))
    return "ERROR: The page " + page + " would replace the listing " + request.input_path;
  for (const auto& [what, path] : request.kept_files)
    if (same_file(page, path)) return "ERROR: The page " + page + " would replace the " + what + " " + path;
  return std::string();
}

namespace {

GenerateResult failure(SettingsRecord& record, const char* format, const std::string& path,
                       std::error_code reason = {}) {
  format_into(record.message, kMessageSize, format, path.c_str());
  return {GenerateStatus::kFailed, record.message, reason};
}

std::error_code last_error() { return std::error_code(errno != 0 ? errno : EIO, std::generic_category()); }

void compose_summary(SettingsRecord& record, const GenerateRequest& request, int credited, int ffma) {
  char* message = record.message;
  const bool whole =
      record.ffma_option != 0
          ? format_into(message, kMessageSize, "Wrote %4d (%d FFMA) grids to %s\n\n", credited, ffma,
                        request.output_path.c_str())
          : format_into(message, kMessageSize, "Wrote %4d grids to %s\n\n", credited, request.output_path.c_str());
  // A path cut before one of its characters is followed by nothing, not
  // even the first letter of the next sentence.
  if (!whole) return;
  if (request.mention_view_button)
    append_within(message, kMessageSize, "Click the 'View' button to see the output.\n\n");
  constexpr std::size_t kLimit = 255;
  switch (record.map_columns) {
    case 3: append_within(message, kLimit, "Print on 8.5x11 sheet in Portrait mode"); break;
    case 4: append_within(message, kLimit, "Print on 8.5x11 sheet in Landscape mode"); break;
    case 6: append_within(message, kLimit, "Print on 11x17 sheet in Landscape mode"); break;
    default: break;
  }
  if (record.color_option != 0) append_within(message, kLimit, " to a color printer.");
  append_within(message, kLimit, "\n\n");
}

}  // namespace

std::optional<GenerateResult> read_listing_file(SettingsRecord& record, const std::string& input_path,
                                                const std::function<void(std::FILE*)>& read) {
  std::error_code ec;
  if (std::filesystem::is_directory(path_of(input_path), ec))
    return failure(record, "ERROR: Could not open input file %s", input_path,
                   std::make_error_code(std::errc::is_a_directory));
  errno = 0;
  // Raw bytes: in text mode Windows ends a file at its first 0x1A, and the
  // reader takes CR LF and LF line ends alike.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> listing(std::fopen(input_path.c_str(), "rb"), &std::fclose);
  if (listing == nullptr) return failure(record, "ERROR: Could not open input file %s", input_path, last_error());
  errno = 0;
  read(listing.get());
  const std::error_code read_error = last_error();
  // A read error ends the listing as its end does; say so rather than
  // report the rows read before it as the whole listing.
  if (std::ferror(listing.get()) != 0)
    return failure(record, "ERROR: Could not read input file %s", input_path, read_error);
  return std::nullopt;
}

GenerateResult write_page(SettingsRecord& record, const GenerateRequest& request,
                          const std::function<std::optional<GenerateResult>(GridIndex&)>& read_index) {
  // The page replaces the old one only when complete, so a failed run
  // leaves the previous page as it was.
  ReplacementFile page(request.output_path, "w");
  if (page.stream() == nullptr)
    return failure(record, "ERROR: Could not create output file %s", request.output_path, page.error());
  GridIndex index;
  if (std::optional<GenerateResult> failed = read_index(index)) return *failed;
  int ffma = 0;
  const int credited = write_map_page(index, page.stream(), ffma, record, request.page_time);
  if (!page.commit())
    return failure(record, "ERROR: Could not write output file %s", request.output_path, page.error());
  // The page is complete: a picture that cannot be copied only leaves its field plain.
  // A page sent into a device or pipe has no folder of its own.
  std::string images_problem;
  if (!request.field_images_folder.empty() && !page.in_place())
    images_problem =
        add_missing_field_images(record, path_of(request.field_images_folder), path_of(request.output_path)).problem;

  compose_summary(record, request, credited, ffma);
  return {GenerateStatus::kWritten, record.message, {}, images_problem, credited, ffma};
}

void take_lower_left_field(SettingsRecord& record, const std::string& ll_field_text) {
  std::memset(record.lower_left_field, 0, sizeof record.lower_left_field);
  record.lower_left_field[0] = ll_field_text[0];
  record.lower_left_field[1] = ll_field_text[1];
}

GenerateResult generate(SettingsRecord& record, const GenerateRequest& request) {
  std::string refusal = check_choices(record, request);
  if (!refusal.empty()) return {GenerateStatus::kRefused, refusal};
  refusal = replacement_refusal(request.output_path, request);
  if (!refusal.empty()) return {GenerateStatus::kRefused, refusal};

  take_lower_left_field(record, request.ll_field_text);
  try {
    BandTotals off_map;
    std::vector<std::string> header_warnings;
    GenerateResult result = write_page(record, request, [&](GridIndex& index) -> std::optional<GenerateResult> {
      if (std::optional<GenerateResult> failed = read_listing_file(record, request.input_path, [&](std::FILE* in) {
            index = read_listing(in, request.input_path.c_str(), record, &header_warnings);
          }))
        return failed;
      if (index.empty()) return GenerateResult{GenerateStatus::kFailed, record.message};
      off_map = count_off_map(index, record);
      return std::nullopt;
    });
    result.off_map = off_map;
    result.header_warnings = std::move(header_warnings);
    return result;
  } catch (const std::bad_alloc&) {
    return failure(record, "ERROR: Not enough memory to read %s", request.input_path);
  }
}

std::string save_settings_after_generate(SettingsRecord& record, const std::string& path) {
  if (save_settings_file(record, path)) return std::string();
  char message[kMessageSize];
  format_into(message, sizeof message, "ERROR: Could not save settings file %s", path.c_str());
  return message;
}

}  // namespace zelk

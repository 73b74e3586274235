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
#include "conversion/totals_text.h"
#include "conversion/settings_file.h"
#include "listing/band_table.h"
#include "listing/listing_reader.h"
#include "listing/status.h"
#include "mappage/ffma_list_page.h"
#include "mappage/map_extent.h"
#include "mappage/contents_page.h"
#include "mappage/map_page.h"
#include "record/bounded_text.h"

namespace zelk {

namespace {

// The any band's index, and read_listing's notes with its grids counted
// once each, however many rows name them.
GridIndex read_any_band(std::FILE* in, const std::string& path, SettingsRecord& record, ListingNotes& notes) {
  ListingBands listing = read_every_band(in, path);
  notes.warnings = std::move(listing.warnings);
  if (!listing.readable) {
    notes.problem = ListingProblem::kUnrecognizedFormat;
    notes.hint = listing.hint;
    return GridIndex();
  }
  if (!listing.error.empty()) {
    notes.message = listing.error + "\n";
    notes.problem = ListingProblem::kNoGrids;
    return GridIndex();
  }
  notes.message = read_grids_message(static_cast<int>(std::min<std::size_t>(listing.grids.size(), INT_MAX)), path);
  copy_into(record.message, notes.message.c_str());
  return any_band_index(listing, record);
}

// The message whole for the caller to show; the record's buffer keeps what fits.
GenerateResult failure(SettingsRecord& record, RunError error, const std::string& message,
                       std::error_code reason = {}) {
  copy_into(record.message, message.c_str());
  return {GenerateStatus::kFailed, message, reason, error};
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
        std::string(", lower-left field ") + record.lower_left_field + " (its map holds the most credited grids and centres them)";
  summary += "\n\n";
  if (request.mention_view_button) summary += "Click the 'View' button to see the output.\n\n";
  // A map size of no print format gets no advice, not a fragment of it.
  switch (record.map_columns) {
    case 3: summary += "Print on 8.5x11 sheet in Portrait mode"; break;
    case 4: summary += "Print on 8.5x11 sheet in Landscape mode"; break;
    case 6: summary += "Print on 11x17 sheet in Landscape mode"; break;
    default: return summary;
  }
  if (record.color_option != 0) summary += " to a color printer.";
  return summary + "\n\n";
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
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

std::string failure_text(const GenerateResult& failed) {
  std::string text = failed.message;
  if (failed.reason) text.insert(text.find_last_not_of('\n') + 1, ": " + system_reason(failed.reason).message());
  text.erase(text.find_last_not_of('\n') + 1);
  return text;
}

RunReport report_of(const GenerateResult& result) {
  RunReport report;
  if (result.status != GenerateStatus::kWritten) report.errors = failure_text(result) + "\n";
  for (const std::string& warning : result.warnings) report.errors += warning + "\n";
  if (result.status == GenerateStatus::kWritten) report.summary = result.message;
  return report;
}

std::optional<GenerateResult> read_listing_file(SettingsRecord& record, const std::string& input_path,
                                                const std::function<void(std::FILE*)>& read) {
  std::error_code ec;
  if (std::filesystem::is_directory(path_of(input_path), ec))
    return failure(record, RunError::kCannotOpenInput, "ERROR: Could not open input file " + input_path,
                   std::make_error_code(std::errc::is_a_directory));
  errno = 0;
  // Raw bytes: in text mode Windows ends a file at its first 0x1A, and the
  // reader takes CR LF and LF line ends alike.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> listing(std::fopen(input_path.c_str(), "rb"), &std::fclose);
  if (listing == nullptr)
    return failure(record, RunError::kCannotOpenInput, "ERROR: Could not open input file " + input_path,
                   last_system_error());
  errno = 0;
  read(listing.get());
  const std::error_code read_error = last_system_error();
  // A read error ends the listing as its end does; say so rather than
  // report the rows read before it as the whole listing.
  if (std::ferror(listing.get()) != 0)
    return failure(record, RunError::kCannotReadInput, "ERROR: Could not read input file " + input_path, read_error);
  return std::nullopt;
}

GenerateResult unrecognized_format(SettingsRecord& record, const std::string& input_path, const std::string& hint) {
  return failure(record, RunError::kUnrecognizedFormat,
                 unrecognized_format_message(input_path) +
                     "The first line must be the header: it begins with Grid or Prefix, then one label per band "
                     "(see --help).\nHere " + hint + ".");
}

GenerateResult not_written(SettingsRecord& record, const std::string& path, std::error_code reason) {
  return failure(record, RunError::kCannotWrite, "ERROR: Could not write output file " + path, reason);
}

GenerateResult stage_page(StagedFiles& files, SettingsRecord& record, const GenerateRequest& request,
                          const GridIndex& index) {
  if (request.find_field && !find_lower_left_field(index, record))
    return failure(record, RunError::kNoCreditedGrid,
                   "ERROR: No credited grid of " + std::string(band_caption(record.band_index)) + " in " +
                       request.input_path + " to place the map by");
  int credited = 0, ffma = 0;
  if (!files.stage(request.output_path, "w", [&](std::FILE* page) {
        credited = write_map_page(index, page, ffma, record, request.page_time);
      }))
    return not_written(record, request.output_path, files.error());
  GenerateResult staged{GenerateStatus::kWritten, "", {}, RunError::kNone, {}, credited, ffma};
  // A picture that cannot be added only leaves its field plain. A page sent
  // into a device or pipe has no folder of its own.
  if (!request.field_images_folder.empty() && !writes_in_place(request.output_path)) {
    const std::string problem = add_missing_field_images(files, record, path_of(request.field_images_folder),
                                                         path_of(request.output_path))
                                    .problem;
    if (!problem.empty())
      staged.warnings.push_back("WARNING: The field pictures were not put beside the page: " + problem);
  }
  if (!request.ffma_list_path.empty() && !files.stage(request.ffma_list_path, "w", [&](std::FILE* list) {
        write_ffma_list(list, ffma_needs(index, record), record.band_index, request.page_time);
      }))
    return not_written(record, request.ffma_list_path, files.error());
  staged.message = compose_summary(record, request, credited, ffma);
  copy_into(record.message, staged.message.c_str());
  return staged;
}

std::optional<GenerateResult> commit_run(StagedFiles& files, SettingsRecord& record,
                                         std::vector<std::string>& warnings) {
  const StagedFiles::Outcome outcome = files.commit();
  for (const auto& [picture, reason] : outcome.not_added)
    warnings.push_back("WARNING: The field pictures were not put beside the page: could not write " + picture +
                       ": " + system_reason(reason).message());
  if (outcome.whole()) return std::nullopt;
  std::vector<std::string> kept = outcome.not_replaced;
  kept.insert(kept.begin(), outcome.failed);
  GenerateResult failed =
      failure(record, RunError::kCannotReplace, "ERROR: Could not replace " + outcome.failed, outcome.reason);
  // The reason belongs to the first line, before what was and was not replaced.
  failed.message = failure_text(failed) +
                   (outcome.replaced.empty() ? "" : "\nReplaced already: " + joined(outcome.replaced)) +
                   "\nLeft as they were: " + joined(kept);
  failed.reason = {};
  return failed;
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
  if (!refusal.empty()) return {GenerateStatus::kRefused, refusal, {}, RunError::kChoices};
  refusal = replacement_refusal(request.output_path, request);
  if (refusal.empty() && !request.ffma_list_path.empty())
    refusal = same_file(request.ffma_list_path, request.output_path)
                  ? "ERROR: The FFMA list " + request.ffma_list_path + " would replace the page " + request.output_path
                  : replacement_refusal(request.ffma_list_path, request);
  if (!refusal.empty()) return {GenerateStatus::kRefused, refusal, {}, RunError::kChoices};

  take_lower_left_field(record, request);
  std::vector<std::string> warnings;
  GenerateResult result = [&]() -> GenerateResult {
    try {
      ListingNotes notes;
      GridIndex index;
      std::optional<GenerateResult> failed = read_listing_file(record, request.input_path, [&](std::FILE* in) {
        index = record.band_index == kAnyBand ? read_any_band(in, request.input_path, record, notes)
                                              : read_listing(in, request.input_path.c_str(), record, &notes);
      });
      warnings = std::move(notes.warnings);
      if (failed) return *failed;
      if (notes.problem == ListingProblem::kUnrecognizedFormat)
        return unrecognized_format(record, request.input_path, notes.hint);
      if (index.empty())
        return failure(record, notes.problem == ListingProblem::kNoBandColumn ? RunError::kNoBandColumn
                                                                              : RunError::kNoGrids,
                       notes.message);
      warnings.push_back(off_map_warning(request.input_path, {count_off_map(index, record)}));
      StagedFiles files;
      GenerateResult staged = stage_page(files, record, request, index);
      if (staged.status != GenerateStatus::kWritten) return staged;
      for (std::string& warning : staged.warnings) warnings.push_back(std::move(warning));
      if (!request.settings_to_save.empty() && !stage_settings_file(files, record, request.settings_to_save))
        return failure(record, RunError::kCannotWrite, "ERROR: Could not save settings file " + request.settings_to_save,
                       files.error());
      if (std::optional<GenerateResult> failed_commit = commit_run(files, record, warnings)) return *failed_commit;
      if (!request.ffma_list_path.empty()) staged.message += "FFMA squares needed: Wrote " + request.ffma_list_path + "\n";
      copy_into(record.message, staged.message.c_str());
      return staged;
    } catch (const std::bad_alloc&) {
      return failure(record, RunError::kNotEnoughMemory, "ERROR: Not enough memory to read " + request.input_path);
    }
  }();
  // The off-map warning is empty when every credited grid shows.
  std::erase(warnings, std::string());
  for (std::string& warning : warnings)
    if (warning.ends_with('\n')) warning.pop_back();
  result.warnings = std::move(warnings);
  return result;
}

bool stage_contents_page(StagedFiles& files, const std::string& path, const std::string& listing_name,
                         const std::vector<BandTotals>& bands, std::time_t page_time) {
  return files.stage(path, "w", [&](std::FILE* page) { write_contents_page(page, listing_name, bands, page_time); });
}

std::string save_settings_after_generate(SettingsRecord& record, const std::string& path) {
  std::error_code reason;
  if (save_settings_file(record, path, &reason)) return std::string();
  return "ERROR: Could not save settings file " + path + (reason ? ": " + reason.message() : std::string());
}

}  // namespace zelk

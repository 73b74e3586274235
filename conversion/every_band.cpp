#include "conversion/every_band.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>
#include <utility>

#include "platform/file_paths.h"
#include "conversion/totals_text.h"
#include "listing/band_table.h"
#include "listing/listing_reader.h"
#include "listing/status.h"

namespace zelk {

namespace {

std::string in_folder(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : name_of(path_of(folder) / path_of(name));
}

// Reads the listing once and checks everything that holds for every band,
// so that a refusal comes before anything is written.
GenerateResult prepare(SettingsRecord& record, const EveryBandRequest& request, ListingBands& listing,
                       EveryBandResult& result) {
  const std::string& path = request.generate.input_path;
  GenerateRequest checked = request.generate;
  checked.output_path = contents_page_path(path, request.folder);
  if (std::string refusal = check_choices(record, checked); !refusal.empty())
    return GenerateResult{GenerateStatus::kRefused, refusal, {}, RunError::kChoices};
  try {
    if (std::optional<GenerateResult> failed =
            read_listing_file(record, path, [&](std::FILE* in) { listing = read_every_band(in, path); }))
      return *failed;
  } catch (const std::bad_alloc&) {
    return GenerateResult{GenerateStatus::kFailed, "ERROR: Not enough memory to read " + path, {},
                          RunError::kNotEnoughMemory};
  }
  result.warnings = std::move(listing.warnings);
  if (!listing.readable) return unrecognized_format(record, path, listing.hint);
  if (!listing.error.empty()) return GenerateResult{GenerateStatus::kFailed, listing.error, {}, RunError::kNoGrids};
  if (listing.bands.empty())
    return GenerateResult{GenerateStatus::kFailed, "ERROR: No band column in the header of " + path, {},
                          RunError::kNoBandColumn};
  std::vector<int> bands = listing.bands;
  bands.insert(bands.begin(), kAnyBand);  // the any band's row comes first
  for (int band : bands) {
    BandOutcome& outcome = result.bands.emplace_back();
    outcome.band_index = band;
    const std::string name = file_name_of(path), suffix = std::string("-") + band_page_name(band);
    outcome.page = in_folder(request.folder, page_name_for(name, suffix));
    if (record.ffma_option != 0) outcome.ffma_list = in_folder(request.folder, page_name_for(name, suffix + "-ffma"));
    for (const std::string* page : {&outcome.page, &outcome.ffma_list})
      if (std::string refusal = page->empty() ? "" : replacement_refusal(*page, request.generate); !refusal.empty())
        return GenerateResult{GenerateStatus::kRefused, refusal, {}, RunError::kChoices};
  }
  if (std::string refusal = replacement_refusal(checked.output_path, request.generate); !refusal.empty())
    return GenerateResult{GenerateStatus::kRefused, refusal, {}, RunError::kChoices};
  take_lower_left_field(record, request.generate);
  return GenerateResult{GenerateStatus::kWritten, ""};
}

// Stages every band's page and the contents page into `files`; the failure
// that stops the run, if any.
std::optional<GenerateResult> stage_every_band(StagedFiles& files, SettingsRecord& record,
                                               const EveryBandRequest& request, ListingBands& listing,
                                               EveryBandResult& result) {
  const std::string& path = request.generate.input_path;
  if (!request.folder.empty() && !files.make_folder(request.folder))
    return GenerateResult{GenerateStatus::kFailed, "ERROR: Could not create folder " + request.folder,
                          files.error(), RunError::kCannotWrite};
  std::vector<BandTotals> column_totals = count_column_totals(listing.grids, listing.letters, record);
  // The any band's page and totals read one more column: each grid's best letter.
  GridIndex any_band = any_band_index(listing, record);
  std::vector<std::int16_t> any_letters(any_band.size() + 1, -1);
  for (GridIndex::Node t = 1; t <= any_band.size(); ++t)
    any_letters[t] = static_cast<unsigned char>(any_band.status_letter(t));
  column_totals.push_back(count_column_totals(any_band, {any_letters}, record)[0]);
  for (std::size_t b = 0; b < result.bands.size(); ++b) {
    BandOutcome& band = result.bands[b];
    const bool any = band.band_index == kAnyBand;
    const std::size_t i = b - 1;  // its place in the listing's bands, after the any band
    SettingsRecord band_record = record;
    band_record.band_index = band.band_index;
    band.totals = column_totals[any ? column_totals.size() - 1 : listing.column_of[i]];
    band.totals.band_index = band.band_index;
    band.worked = any ? !any_band.empty() : listing.worked(i);
    if (!band.worked) continue;
    GenerateRequest page = request.generate;
    page.output_path = band.page;
    page.mention_view_button = false;  // View opens the contents page: the report says so
    page.ffma_list_path = band.ffma_list;
    band.result = stage_page(files, band_record, page, any ? any_band : listing.index(i));
    if (band.result.error == RunError::kNoCreditedGrid) continue;  // that band's trouble is its own
    if (!band.written()) return band.result;
    for (std::string& warning : band.result.warnings)
      if (std::find(result.warnings.begin(), result.warnings.end(), warning) == result.warnings.end())
        result.warnings.push_back(std::move(warning));
    band.totals.page = file_name_of(band.page);
    if (!band.ffma_list.empty()) band.totals.ffma_list = file_name_of(band.ffma_list);
    if (request.generate.find_field) band.totals.field = band_record.lower_left_field;
    const std::string& summary = band.result.message;
    const std::size_t end = summary.find("\n\n");
    result.advice = end == std::string::npos ? std::string() : summary.substr(end + 1);
  }
  // A listing without worked grids has no any band either, only its bands to say so.
  if (!result.bands.front().worked) result.bands.erase(result.bands.begin());
  if (std::none_of(result.bands.begin(), result.bands.end(), [](const BandOutcome& band) { return band.written(); })) {
    const bool none_worked =
        std::none_of(result.bands.begin(), result.bands.end(), [](const BandOutcome& band) { return band.worked; });
    return GenerateResult{GenerateStatus::kFailed,
                          none_worked ? "ERROR: No band of " + path + " has worked grids"
                                      : "ERROR: No band of " + path + " has a credited grid to place a map by",
                          {}, none_worked ? RunError::kNoGrids : RunError::kNoCreditedGrid};
  }
  // The contents page links the pages, so it goes into place after them.
  const std::string contents = contents_page_path(path, request.folder);
  if (!stage_contents_page(files, contents, file_name_of(path), result.totals(), request.generate.page_time))
    return not_written(record, contents, files.error());
  result.contents = contents;
  return std::nullopt;
}

}  // namespace

std::string BandOutcome::line() const {
  const std::string caption = band_caption(band_index);
  if (!worked) return caption + ": no worked grids, no page";
  if (!written()) return caption + ": no credited grid to place a map by, no page";
  const std::string& message = result.message;
  return caption + ": " + message.substr(0, std::min(message.find("\n\n"), message.size()));
}

std::vector<BandTotals> EveryBandResult::totals() const {
  std::vector<BandTotals> totals;
  for (const BandOutcome& band : bands) totals.push_back(band.totals);
  return totals;
}

std::string contents_page_path(const std::string& listing, const std::string& folder) {
  return in_folder(folder, page_name_for(file_name_of(listing), "-bands"));
}

EveryBandResult generate_every_band(SettingsRecord& record, const EveryBandRequest& request) {
  EveryBandResult result;
  ListingBands listing;
  result.stopped = prepare(record, request, listing, result);
  if (result.stopped.status != GenerateStatus::kWritten) {
    result.bands.clear();
    return result;
  }
  try {
    StagedFiles files;
    std::optional<GenerateResult> failed = stage_every_band(files, record, request, listing, result);
    if (!failed) failed = commit_run(files, record, result.warnings);
    if (failed) result.stopped = *failed;
  } catch (const std::bad_alloc&) {
    result.stopped = GenerateResult{GenerateStatus::kFailed,
                                    "ERROR: Not enough memory to write the pages of " + request.generate.input_path,
                                    {}, RunError::kNotEnoughMemory};
  }
  if (!result.succeeded()) result.contents.clear();
  return result;
}

RunReport every_band_report(const EveryBandResult& result, const EveryBandRequest& request) {
  RunReport report;
  if (!result.succeeded()) report.errors += failure_text(result.stopped) + "\n";
  for (const std::string& warning : result.warnings) report.errors += warning + "\n";
  report.errors += off_map_warning(request.generate.input_path, result.totals());
  if (!result.succeeded()) return report;

  const bool dialog = request.generate.mention_view_button;
  for (const BandOutcome& band : result.bands)
    report.summary += (dialog && band.written() ? band_totals_line(band.totals) : band.line()) + "\n";
  if (dialog) {
    report.summary += "\nThe pages and their contents page " + file_name_of(result.contents) + " are in " +
                      (request.folder.empty() ? std::string("the current folder") : request.folder) + ".\n\n";
    report.summary += "Click the 'View' button to see the contents page.\n\n";
    const std::size_t advice = std::min(result.advice.find_first_not_of('\n'), result.advice.size());
    report.summary += result.advice.substr(advice, result.advice.find_last_not_of('\n') + 1 - advice) + "\n";
  } else {
    report.summary += "Band totals: Wrote " + result.contents + "\n\n" + band_totals_text(result.totals()) + result.advice;
  }
  return report;
}

}  // namespace zelk

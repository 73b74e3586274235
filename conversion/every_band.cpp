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
#include "mappage/chase.h"

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
    return GenerateResult{GenerateStatus::kRefused, refusal};
  try {
    if (std::optional<GenerateResult> failed =
            read_listing_file(record, path, [&](std::FILE* in) { listing = read_every_band(in, path); }))
      return *failed;
  } catch (const std::bad_alloc&) {
    return GenerateResult{GenerateStatus::kFailed, "ERROR: Not enough memory to read " + path};
  }
  if (!listing.readable)
    return GenerateResult{GenerateStatus::kFailed, "ERROR: Unrecognized format of input file " + path};
  if (listing.bands.empty())
    return GenerateResult{GenerateStatus::kFailed, "ERROR: No band column in the header of " + path};
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
        return GenerateResult{GenerateStatus::kRefused, refusal};
  }
  if (std::string refusal = replacement_refusal(checked.output_path, request.generate); !refusal.empty())
    return GenerateResult{GenerateStatus::kRefused, refusal};
  std::error_code ec;
  if (!request.folder.empty() && !std::filesystem::is_directory(path_of(request.folder), ec)) {
    std::filesystem::create_directories(path_of(request.folder), ec);
    if (ec) return GenerateResult{GenerateStatus::kFailed, "ERROR: Could not create folder " + request.folder, ec};
  }
  take_lower_left_field(record, request.generate);
  return GenerateResult{GenerateStatus::kWritten, ""};
}

}  // namespace

std::string BandOutcome::line() const {
  if (!worked) return band_caption(band_index) + std::string(": no worked grids, no page");
  const std::string& message = result.message;
  const std::string first = message.substr(0, std::min(message.find("\n\n"), message.size()));
  return written() ? band_caption(band_index) + std::string(": ") + first : first;
}

bool EveryBandResult::succeeded() const {
  return stopped.status == GenerateStatus::kWritten && contents.status == GenerateStatus::kWritten &&
         std::all_of(bands.begin(), bands.end(), [](const BandOutcome& band) { return band.written() || !band.worked; });
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
  const std::string& path = request.generate.input_path;
  result.warnings = std::move(listing.warnings);
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
    if (band.worked) {
      GenerateRequest page = request.generate;
      page.output_path = band.page;
      page.mention_view_button = false;  // View opens the contents page: the report says so
      page.ffma_list_path = band.ffma_list;
      try {
        band.result = write_page(band_record, page, [&](GridIndex& index) {
          index = any ? std::move(any_band) : listing.index(i);  // the any band's page is its only reader
          return std::optional<GenerateResult>();
        });
      } catch (const std::bad_alloc&) {
        band.result = GenerateResult{GenerateStatus::kFailed, "ERROR: Not enough memory to write " + band.page};
      }
    }
    if (band.written()) {
      band.totals.page = file_name_of(band.page);
      if (!band.ffma_list.empty()) band.totals.ffma_list = file_name_of(band.ffma_list);
      if (request.generate.find_field) band.totals.field = band_record.lower_left_field;
      const std::string& summary = band.result.message;
      const std::size_t end = summary.find("\n\n");
      result.advice = end == std::string::npos ? std::string() : summary.substr(end + 1);
    }
  }
  // A listing without worked grids has no any band either, only its bands to say so.
  if (!result.bands.front().worked) result.bands.erase(result.bands.begin());
  // The contents page links the pages written, so it follows them.
  const std::string contents = contents_page_path(path, request.folder);
  if (std::none_of(result.bands.begin(), result.bands.end(), [](const BandOutcome& band) { return band.written(); })) {
    if (std::all_of(result.bands.begin(), result.bands.end(), [](const BandOutcome& band) { return !band.worked; }))
      result.no_pages = "ERROR: No band of " + path + " has worked grids";
    return result;
  }
  if (std::error_code reason = save_contents_page(contents, file_name_of(path), result.totals(), request.generate.page_time))
    result.contents =
        GenerateResult{GenerateStatus::kFailed, "ERROR: Could not write output file " + contents, reason};
  else
    result.contents = GenerateResult{GenerateStatus::kWritten, "Band totals: Wrote " + contents};
  return result;
}

std::string failure_text(const GenerateResult& failed) {
  std::string text = failed.message;
  if (failed.reason) text.insert(text.find_last_not_of('\n') + 1, ": " + system_reason(failed.reason).message());
  return text;
}

EveryBandReport every_band_report(const EveryBandResult& result, const EveryBandRequest& request) {
  EveryBandReport report;
  auto error = [&](const GenerateResult& failed) {
    const std::string text = failure_text(failed);
    report.errors += text.substr(0, text.find_last_not_of('\n') + 1) + "\n";
  };
  if (result.stopped.status != GenerateStatus::kWritten) {
    error(result.stopped);
    return report;
  }
  for (const BandOutcome& band : result.bands)
    if (band.worked && !band.written()) error(band.result);
  if (result.contents.status == GenerateStatus::kFailed) error(result.contents);
  if (!result.no_pages.empty()) report.errors += result.no_pages + "\n";
  for (const std::string& warning : result.warnings) report.errors += warning + "\n";
  // Every page shares one folder of pictures: its problem is said once.
  for (const BandOutcome& band : result.bands)
    if (!band.result.field_images_problem.empty()) {
      report.errors += "WARNING: The field pictures were not put beside the pages: " +
                       band.result.field_images_problem + "\n";
      break;
    }
  report.errors += off_map_warning(request.generate.input_path, result.totals());

  for (const BandOutcome& band : result.bands) {
    if (band.written()) report.summary += band_totals_line(band.totals) + "\n";
    else report.summary += band_caption(band.band_index) + std::string(band.worked ? ": no page" : ": no worked grids, no page") + "\n";
  }
  if (result.contents.status != GenerateStatus::kWritten) return report;
  const std::string contents = contents_page_path(request.generate.input_path, request.folder);
  report.summary += "\nThe pages and their contents page " + file_name_of(contents) + " are in " +
                    (request.folder.empty() ? std::string("the current folder") : request.folder) + ".\n\n";
  if (request.generate.mention_view_button) report.summary += "Click the 'View' button to see the contents page.\n\n";
  const std::size_t advice = std::min(result.advice.find_first_not_of('\n'), result.advice.size());
  report.summary += result.advice.substr(advice, result.advice.find_last_not_of('\n') + 1 - advice) + "\n";
  return report;
}

}  // namespace zelk

// Generate: checks the user's choices, converts the listing into the map page
// and composes the summary. The dialog and the command line both call it;
// message boxes, the View button and the settings file stay with the caller.
#pragma once

#include <cstdio>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "record/settings_record.h"
#include "listing/grid_index.h"
#include "mappage/band_totals.h"

namespace zelk {

struct GenerateRequest {
  bool has_input_file = false;  // the dialog's list box holds a file name
  std::string input_path;
  std::string output_path;
  std::string ll_field_text;
  // The command line's --field auto: the map's lower-left field is the one
  // whose map holds the most credited grids, and ll_field_text is not read.
  bool find_field = false;
  // Where to write the band's FFMA squares still needed, after its page.
  // Empty: no list.
  std::string ffma_list_path{};
  std::time_t page_time = 0;
  // The command line has no View button to tell about.
  bool mention_view_button = true;
  // The program's images/ folder: after a written page, the field images it
  // names and its own folder lacks are copied from here. Empty: none.
  std::string field_images_folder;
  // Besides the listing, the files the user gave the run to read, which no
  // page may replace: what each is ("settings file") and its path.
  std::vector<std::pair<std::string, std::string>> kept_files{};
  // Where the caller will save the settings after the page: refused when it
  // would replace the listing or the page. Empty: not saved there.
  std::string settings_to_save{};
};

enum class GenerateStatus {
  // A check failed, or the page would replace the listing; nothing was
  // opened and the record is unchanged.
  kRefused,
  kFailed,   // the listing or the page failed; the previous page is untouched
  kWritten,  // the page is complete; the summary is in the message buffer
};

struct GenerateResult {
  GenerateStatus status;
  std::string message;  // the text to show: an error, or the summary
  std::error_code reason{};  // the system's reason for a failed file, if any
  // Why field pictures could not be put beside a written page; empty when
  // every picture is there or none was wanted.
  std::string field_images_problem{};
  int credited_count = 0;
  int ffma_count = 0;
  // The listing's credited grids that no map shows, from the page's own
  // index, for the caller's warning; generate() alone fills it in.
  BandTotals off_map{};
  // What the listing's header says that the page alone would not, whole
  // lines for the caller to show before the summary or the error.
  std::vector<std::string> header_warnings{};
};

GenerateResult generate(SettingsRecord& record, const GenerateRequest& request);

// Generate's steps, which the every-band run takes too, so that each band's
// page is the one that band's own Generate writes.

// The first failing check of the choices, before anything is opened; empty
// when all pass.
std::string check_choices(const SettingsRecord& record, const GenerateRequest& request);
// Why writing `page` would replace a file the run reads, or saving the
// settings would replace the listing or the page; empty when neither would.
std::string replacement_refusal(const std::string& page, const GenerateRequest& request);
// Once the choices have passed: the "LL Field" text's field into the record,
// unless the page is to find its own.
void take_lower_left_field(SettingsRecord& record, const GenerateRequest& request);
// Opens the listing, hands it to `read` and closes it; the failure to report
// when it could not be opened or read to its end.
std::optional<GenerateResult> read_listing_file(SettingsRecord& record, const std::string& input_path,
                                                const std::function<void(std::FILE*)>& read);
// Writes the page of the record's band to the request's output path,
// complete or not at all, then puts the field pictures beside it and
// composes the summary (and writes the FFMA list, if asked). The index comes from `read_index` once the page's
// temporary file exists, so that a run stopped while reading leaves nothing;
// it gives the failure that ends the run, if any.
GenerateResult write_page(SettingsRecord& record, const GenerateRequest& request,
                          const std::function<std::optional<GenerateResult>(GridIndex&)>& read_index);

// Writes the contents page to `path`, complete or not at all; the system's
// reason when it could not.
std::error_code save_contents_page(const std::string& path, const std::string& listing_name,
                                   const std::vector<BandTotals>& bands, std::time_t page_time);

// After the summary has been shown: saves the settings file at `path`. Empty
// on success, else the error to show, with the system's reason.
std::string save_settings_after_generate(SettingsRecord& record, const std::string& path);

}  // namespace zelk

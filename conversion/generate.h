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
#include "platform/staged_files.h"

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
  // Where the run saves the settings with its page, committed together:
  // refused when it would replace the listing or the page. Empty: not saved.
  std::string settings_to_save{};
};

enum class GenerateStatus {
  // A check failed, or the page would replace the listing; nothing was
  // opened and the record is unchanged.
  kRefused,
  kFailed,   // the run stopped; no file of it was changed (but see kCannotReplace)
  kWritten,  // every file of the run is in place; the summary is in the message buffer
};

// Why a run stopped, for a caller that decides by it; the text is the
// result's message, each composed in one place.
enum class RunError {
  kNone,
  kChoices,             // a check of the choices, or a file the run must not replace
  kCannotOpenInput,
  kCannotReadInput,
  kUnrecognizedFormat,  // the first line is no header
  kNoBandColumn,        // the header names no band, or not the one chosen
  kNoGrids,             // no row names a grid for the band
  kNoCreditedGrid,      // a map to place by its credited grids, and there are none
  kNotEnoughMemory,
  kCannotWrite,         // a file of the run could not be staged: nothing changed
  kCannotReplace,       // a rename failed: the message says what was replaced
};

struct GenerateResult {
  GenerateStatus status;
  std::string message;  // the text to show: an error, or the summary
  std::error_code reason{};  // the system's reason for a failed file, if any
  RunError error = RunError::kNone;
  // Whole lines to show after any error and before the summary: what the
  // header says that the page alone would not, credited grids no map shows,
  // pictures that could not be put beside the page.
  std::vector<std::string> warnings{};
  int credited_count = 0;
  int ffma_count = 0;
};

// A run as a person reads it, composed once for every front end: `errors`
// holds the error with the system's reason (and, for a listing that is no
// listing, what its first line must be), then the warnings, each a line;
// `summary` what was written. The command line prints them on stderr and
// stdout; a dialog shows both, errors first, in one box.
struct RunReport {
  std::string errors;
  std::string summary;
};
RunReport report_of(const GenerateResult& result);

// A failed result's message with the system's reason after its text
// ("...: The process cannot access the file because it is being used by
// another process.").
std::string failure_text(const GenerateResult& failed);

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
// The listing's first line is no header: what it must be, and what `hint`
// says it shows instead.
GenerateResult unrecognized_format(SettingsRecord& record, const std::string& input_path, const std::string& hint);

// Stages the page of the record's band from `index` at the request's output
// path, the field pictures it lacks beside it and the FFMA list, if asked,
// into `files`, and composes the summary; the failure that ends the run, if
// any. Places the map first when the request asks for it.
GenerateResult stage_page(StagedFiles& files, SettingsRecord& record, const GenerateRequest& request,
                          const GridIndex& index);
// Commits the run's files; the failure naming what was replaced and what
// was not when a rename failed, and the pictures that could not be added as
// warnings into `warnings`.
std::optional<GenerateResult> commit_run(StagedFiles& files, SettingsRecord& record,
                                         std::vector<std::string>& warnings);

// Stages the contents page at `path`; false, with the reason in `files`, when it could not.
bool stage_contents_page(StagedFiles& files, const std::string& path, const std::string& listing_name,
                         const std::vector<BandTotals>& bands, std::time_t page_time);

// Could not stage the file `path`.
GenerateResult not_written(SettingsRecord& record, const std::string& path, std::error_code reason);

// After the summary has been shown: saves the settings file at `path`. Empty
// on success, else the error to show, with the system's reason.
std::string save_settings_after_generate(SettingsRecord& record, const std::string& path);

}  // namespace zelk

// Generate: checks the user's choices, converts the listing into the map page
// and composes the summary. The dialog and the command line both call it;
// message boxes, the View button and the settings file stay with the caller.
#pragma once

#include <ctime>
#include <string>
#include <system_error>

#include "conversion/settings_record.h"

namespace zelk {

struct GenerateRequest {
  bool has_input_file = false;  // the dialog's list box holds a file name
  std::string input_path;
  std::string output_path;
  std::string ll_field_text;
  std::time_t page_time = 0;
  // The command line has no View button to tell about.
  bool mention_view_button = true;
  // The program's images/ folder: after a written page, the field images it
  // names and its own folder lacks are copied from here. Empty: none.
  std::string field_images_folder;
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
};

GenerateResult generate(SettingsRecord& record, const GenerateRequest& request);

// After the summary has been shown: saves the settings file at `path`. Empty
// on success, else the warning to show.
std::string save_settings_after_generate(SettingsRecord& record, const std::string& path);

}  // namespace zelk

#include "app/zelk_dlg.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <utility>

#include "app/about_dlg.h"
#include "conversion/every_band.h"
#include "platform/file_paths.h"
#include "conversion/generate.h"
#include "conversion/settings_file.h"
#include "listing/band_table.h"

namespace zelk {

namespace {

struct OptionBox {
  int id;
  std::int32_t SettingsRecord::*option;
};

// In the order the dialog sets them at start.
constexpr OptionBox kOptionBoxes[] = {
    {kIdBold, &SettingsRecord::bold_option},
    {kIdColor, &SettingsRecord::color_option},
    {kIdCChecked, &SettingsRecord::confirmed_as_checked_option},
    {kIdNeeded, &SettingsRecord::emphasize_needed_option},
    {kIdSChecked, &SettingsRecord::submitted_as_checked_option},
    {kIdFfma, &SettingsRecord::ffma_option},
};

struct FormatButton {
  int id;
  PrintFormat format;
};

constexpr FormatButton kFormatButtons[] = {
    {kIdPortrait, kPortrait},
    {kIdLandscape, kLandscape},
    {kIdTabloid, kTabloid},
};

constexpr const char* kPathUnavailable = "ERROR: Can't get path to program!";
constexpr const char* kVersionChanged = "Version number changed, resetting to default.";
constexpr const char* kPageMissing = "ERROR:  Could not open output file.";
constexpr const char* kBrowserFailed = "ERROR:  Could not start web browser.";
const std::string kPathLimit = std::to_string(kSystemPathLimit) + " " + kSystemPathUnits;
const std::string kInputPathTooLong = "ERROR: The input file's path is longer than " + kPathLimit + ".";
const std::string kOutputPathTooLong = "ERROR: The output file's path would be longer than " + kPathLimit +
                                       "; choose a listing with a shorter name or move the program to a shorter path.";
// Titles the boxes when the program's own name is unknown.
constexpr const char* kFallbackTitle = "ZELK to HTML";

#ifdef _WIN32
constexpr const char* kHelpPage = "ZELK\\index.html";
#else
constexpr const char* kHelpPage = "ZELK/index.html";
#endif

const char* tooltip_text(int id) {
  const DialogLayout& layout = main_dialog_layout();
  for (int i = 0; i < layout.control_count; ++i)
    if (layout.controls[i].id == id && layout.controls[i].tooltip != nullptr) return layout.controls[i].tooltip;
  return "";
}

// The band list's row of a band; -1 (none) for a band of no row.
int band_row(int band_index) {
  const std::span<const BandChoice> choices = band_choices();
  for (std::size_t row = 0; row < choices.size(); ++row)
    if (choices[row].band_index == band_index) return static_cast<int>(row);
  return -1;
}

// An installed program's pages and settings go into folders of the user's
// that may not exist yet. A folder that cannot be made is reported by the
// write that needed it.
void create_folder_of(const std::string& file) {
  std::string folder = folder_of(file);
  std::error_code ec;
  if (!folder.empty()) std::filesystem::create_directories(path_of(folder), ec);
}

}  // namespace

CzelkDlg::CzelkDlg(DialogHost& host, PageClock page_clock) : host_(host), page_clock_(std::move(page_clock)) {
  reset_to_defaults(record_);
}

int CzelkDlg::do_modal() { return host_.run_main_dialog(*this); }

bool CzelkDlg::on_init_dialog() {
  host_.set_edit_text(kIdLLField, ll_field_text_);

  if (host_.has_system_menu() && *kAboutMenuText != '\0') host_.append_system_menu(kAboutCommand, kAboutMenuText);
  host_.set_window_icons(icon_);

  tooltip_.create(host_);
  for (int id : kTooltipOrder) tooltip_.add_tool(id, tooltip_text(id));

  for (const BandChoice& choice : band_choices()) host_.combo_add(kIdBand, choice.caption);
  host_.set_edit_text(kIdLLField, ll_field_text_);
  host_.enable(kIdView, false);

  if (!set_program_identity(record_, host_)) show_message(kPathUnavailable, MessageIcon::kError);
  folders_ = host_.program_folders();
  switch (load_settings_file(record_, folders_.settings_file)) {
    case LoadOutcome::kNoFile: break;
    case LoadOutcome::kVersionChanged: show_message(kVersionChanged, MessageIcon::kWarning); break;
    case LoadOutcome::kLoaded:
      host_.combo_select(kIdBand, band_row(record_.band_index));
      ll_field_text_ = record_.lower_left_field;
      host_.set_edit_text(kIdLLField, ll_field_text_);
      break;
  }
  show_options();
  if (listing_at_start_) take_listing(*listing_at_start_);
  return true;
}

void CzelkDlg::show_options() {
  for (const OptionBox& box : kOptionBoxes) host_.set_checked(box.id, record_.*box.option != 0);
  for (const FormatButton& button : kFormatButtons) host_.set_checked(button.id, record_.print_format == button.format);
  set_print_format(record_, record_.print_format);
}

void CzelkDlg::on_command(int id) {
  switch (id) {
    case kIdInput: on_input(); return;
    case kIdGenerate: on_generate(); return;
    case kIdView: on_view(); return;
    case kIdHelp: on_help(); return;
    case kIdDone: host_.end_dialog(kIdDone); return;
    default: break;
  }
  for (const FormatButton& button : kFormatButtons)
    if (id == button.id) set_print_format(record_, button.format);
  for (const OptionBox& box : kOptionBoxes)
    if (id == box.id) record_.*box.option = host_.is_checked(id) ? 1 : 0;
}

void CzelkDlg::on_selection_changed(int id) {
  if (id == kIdBand) {
    const int row = host_.combo_selection(kIdBand);
    const std::span<const BandChoice> choices = band_choices();
    record_.band_index = row >= 0 && row < static_cast<int>(choices.size()) ? choices[row].band_index : -1;
  }
}

void CzelkDlg::on_system_command(unsigned command) {
  if ((command & 0xFFF0) == kAboutCommand) CAboutDlg().do_modal(host_);
}

void CzelkDlg::on_input() {
  OpenFileRequest request;
  request.title = "Input CSV File";
  request.filters = {{"CSV Files", "*.csv;"}, {"Contest logs (*.log; *.cbr)", "*.log;*.cbr"}, {"All Files", "*.*"}};
  request.default_extension = "csv";
  request.initial_path = input_path_;
  // The first time, where the user keeps documents (the home folder when the
  // desktop's documents folder was never made); then the last listing's folder.
  std::error_code ec;
  const std::filesystem::path documents = path_of(folders_.documents);
  if (input_path_.empty() && !folders_.documents.empty())
    request.initial_folder = name_of(std::filesystem::is_directory(documents, ec) ? documents
                                                                                  : documents.parent_path().parent_path());
  std::optional<std::string> chosen = host_.open_file_dialog(request);
  if (chosen) take_listing(*chosen);
}

bool CzelkDlg::take_listing(const std::string& chosen) {
  if (system_path_length(chosen) > kSystemPathLimit) {
    show_message(kInputPathTooLong, MessageIcon::kError);
    return false;
  }
  std::string file_name = file_name_of(chosen);
  std::string output = folders_.pages + page_name_for(file_name);
  if (system_path_length(output) > kSystemPathLimit) {
    show_message(kOutputPathTooLong, MessageIcon::kError);
    return false;
  }
  input_path_ = chosen;
  while (host_.list_count(kIdInputList) > 0) host_.list_remove(kIdInputList, 0);
  host_.list_add(kIdInputList, file_name);
  output_path_ = output;
  return true;
}

// A drop is taken as a choice in the Open box; folders and what no longer
// exists are passed over, as the Open box would not offer them.
void CzelkDlg::on_files_dropped(const std::vector<std::string>& paths) {
  std::vector<std::string> files;
  for (const std::string& path : paths)
    if (host_.file_exists(path)) files.push_back(path);
  if (files.empty() || !take_listing(files.front()) || files.size() == 1) return;
  show_message(std::to_string(files.size()) + " files were dropped; one listing is read at a time, so " +
                   file_name_of(files.front()) + ", the first, was taken.",
               MessageIcon::kInformation);
}

void CzelkDlg::on_generate() {
  ll_field_text_ = host_.edit_text(kIdLLField);

  GenerateRequest request;
  request.has_input_file = host_.list_count(kIdInputList) > 0;
  request.input_path = input_path_;
  request.output_path = output_path_;
  request.ll_field_text = ll_field_text_;
  request.page_time = page_clock_();
  request.field_images_folder = folders_.data + "images";
  if (record_.band_index == kEveryBand) {
    if (!generate_all_bands(request)) return;
  } else {
    create_folder_of(output_path_);
    const GenerateResult result = generate(record_, request);
    const bool written = result.status == GenerateStatus::kWritten;
    show_report(report_of(result), written);
    if (!written) return;
    host_.enable(kIdView, true);
  }
  create_folder_of(folders_.settings_file);
  std::string warning = save_settings_after_generate(record_, folders_.settings_file);
  if (!warning.empty()) show_message(warning, MessageIcon::kWarning);
}

// The report of every band (errors first, a short line per band, the folder
// and the advice once). True when every page and the contents page were written.
bool CzelkDlg::generate_all_bands(const GenerateRequest& request) {
  // No band's page has a longer name than the contents page ("-10000", "-bands").
  if (system_path_length(view_path()) > kSystemPathLimit) {
    show_message(kOutputPathTooLong, MessageIcon::kError);
    return false;
  }
  const EveryBandRequest every{request, folders_.pages};
  const EveryBandResult result = generate_every_band(record_, every);
  show_report(every_band_report(result, every), result.succeeded());
  if (result.succeeded()) host_.enable(kIdView, true);
  return result.succeeded();
}

// Errors and warnings first, then what was written, in one box.
void CzelkDlg::show_report(const RunReport& report, bool succeeded) {
  std::string text = report.errors + (report.errors.empty() || report.summary.empty() ? "" : "\n") + report.summary;
  if (report.summary.empty() && text.ends_with('\n')) text.pop_back();
  show_message(text, succeeded ? MessageIcon::kInformation : MessageIcon::kError);
}

std::string CzelkDlg::view_path() const {
  return record_.band_index == kEveryBand ? contents_page_path(input_path_, folders_.pages) : output_path_;
}

void CzelkDlg::on_view() {
  const std::string page = view_path();
  if (!host_.file_exists(page)) {
    show_message(kPageMissing, MessageIcon::kError);
    return;
  }
  if (!host_.shell_open(page)) show_message(kBrowserFailed, MessageIcon::kError);
}

void CzelkDlg::on_help() {
  // The help page ships with the program's data; a missing page is reported
  // like a browser that would not start.
  std::string page = folders_.data + kHelpPage;
  if (!host_.file_exists(page) || !host_.shell_open(page)) show_message(kBrowserFailed, MessageIcon::kError);
}

void CzelkDlg::show_message(const std::string& text, MessageIcon icon) {
  const char* title = *record_.program_base_name != '\0' ? record_.program_base_name : kFallbackTitle;
  host_.message_box(text, title, icon);
}

}  // namespace zelk

#include "cli/cli.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "conversion/generate.h"
#include "conversion/settings_file.h"
#include "conversion/settings_record.h"
#include "listing/band_table.h"
#include "zelk_version.h"

namespace zelk {

namespace {

constexpr const char* kUsage =
    "Usage: zelk2html-cli LISTING [-o PAGE] [--band B] [--field XY]\n"
    "                     [--format portrait|landscape|11x17]\n"
    "                     [--color|--no-color] [--bold|--no-bold] [--needed|--no-needed]\n"
    "                     [--s-checked|--no-s-checked] [--c-checked|--no-c-checked]\n"
    "                     [--ffma|--no-ffma] [--settings FILE] [--save-settings FILE]\n";

constexpr const char* kHelp =
    "Writes the grid map page of one band of a worked-grid listing (CSV).\n"
    "\n"
    "  LISTING              the listing: a header row \"Grid\" (or \"Prefix\") and one\n"
    "                       band column per band, then one row per grid\n"
    "  -o, --output PAGE    the page to write (default: the listing's name with\n"
    "                       \".html\", in the current folder)\n"
    "  --band B             band index 0..10, band caption (\"2 M (144 MHz)\") or a\n"
    "                       column label such as 2M, 144, 23cm or SAT\n"
    "  --field XY           the map's lower-left field, two letters A..R (FN)\n"
    "  --format F           portrait (3 x 4 fields), landscape (4 x 3) or 11x17 (6 x 4)\n"
    "  --color, --no-color  colors, or greys for a black-and-white printer\n"
    "  --bold, --no-bold    bold digits for worked, confirmed and checked squares\n"
    "  --needed, --no-needed        emphasize needed (unworked) squares\n"
    "  --s-checked, --no-s-checked  show submitted (S) squares as checked\n"
    "  --c-checked, --no-c-checked  show confirmed squares like checked ones\n"
    "  --ffma, --no-ffma    outline the FFMA squares of the contiguous USA\n"
    "  --settings FILE      take the options not given from a settings file that\n"
    "                       the dialog wrote (zelk2html.ini)\n"
    "  --save-settings FILE after success, save the choices as a settings file\n"
    "  -h, --help           this text;  --version  the program's version\n"
    "\n"
    "Options not given come from --settings or from the defaults. When\n"
    "SOURCE_DATE_EPOCH is set, the page is dated with that instant (UTC).\n"
    "Exit status: 0 page written, 1 error (no page written or changed), 2 usage.\n";

struct Toggle {
  const char* name;  // "--color"; "--no-color" turns it off
  std::int32_t SettingsRecord::*option;
};

constexpr Toggle kToggles[] = {
    {"--color", &SettingsRecord::color_option},
    {"--bold", &SettingsRecord::bold_option},
    {"--needed", &SettingsRecord::emphasize_needed_option},
    {"--s-checked", &SettingsRecord::submitted_as_checked_option},
    {"--c-checked", &SettingsRecord::confirmed_as_checked_option},
    {"--ffma", &SettingsRecord::ffma_option},
};

struct Choices {
  std::string listing;
  std::optional<std::string> output, band, field, format, settings, save_settings;
  std::vector<std::pair<std::int32_t SettingsRecord::*, std::int32_t>> toggles;
};

int usage_error(std::ostream& err, const std::string& what) {
  err << "zelk2html-cli: " << what << "\n" << kUsage;
  return 2;
}

// Band index, caption or label; -1 when none of them.
int parse_band(const std::string& text) {
  int index = -1;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
  // Other numbers are column labels: 144 and 50 are frequencies.
  if (ec == std::errc() && end == text.data() + text.size() && index >= 0 && index < kBandCount) return index;
  for (int band = 0; band < kBandCount; ++band)
    if (text == band_caption(band)) return band;
  SettingsRecord scratch;
  reset_to_defaults(scratch);
  std::string label = text;
  int band = band_from_label(label.data(), nullptr, scratch);
  return band >= 0 ? band : band_from_frequency(label.data(), nullptr, scratch);
}

// The page beside the current folder: the listing's file name with its last
// extension replaced by ".html".
std::string default_page_name(const std::string& listing) {
  std::size_t separator = listing.find_last_of("/\\");
  std::string name = separator == std::string::npos ? listing : listing.substr(separator + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name + ".html";
}

std::string upper_case_letters(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// Fills `choices`; an empty return means success, else the usage error.
std::string parse_arguments(const std::vector<std::string>& args, Choices& choices) {
  bool have_listing = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::optional<std::string>& slot) -> std::string {
      if (i + 1 >= args.size()) return arg + " needs a value";
      slot = args[++i];
      return std::string();
    };
    std::string problem;
    if (arg == "-o" || arg == "--output") problem = value(choices.output);
    else if (arg == "--band") problem = value(choices.band);
    else if (arg == "--field") problem = value(choices.field);
    else if (arg == "--format") problem = value(choices.format);
    else if (arg == "--settings") problem = value(choices.settings);
    else if (arg == "--save-settings") problem = value(choices.save_settings);
    else if (arg.size() > 1 && arg[0] == '-') {
      bool known = false;
      for (const Toggle& toggle : kToggles) {
        if (arg == toggle.name) choices.toggles.emplace_back(toggle.option, 1);
        else if (arg == std::string("--no-") + (toggle.name + 2)) choices.toggles.emplace_back(toggle.option, 0);
        else continue;
        known = true;
      }
      if (!known) return "unknown option " + arg;
    } else if (!have_listing) {
      choices.listing = arg;
      have_listing = true;
    } else {
      return "more than one listing given";
    }
    if (!problem.empty()) return problem;
  }
  if (!have_listing) return "no listing given";
  return std::string();
}

}  // namespace

int cli_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const CliEnvironment& environment) {
  for (const std::string& arg : args) {
    if (arg == "-h" || arg == "--help") {
      out << kUsage << "\n" << kHelp;
      return 0;
    }
    if (arg == "--version") {
      out << "zelk2html-cli " ZELK_VERSION_TEXT "\n";
      return 0;
    }
  }
  Choices choices;
  if (std::string problem = parse_arguments(args, choices); !problem.empty()) return usage_error(err, problem);

  std::time_t page_time = environment.now;
  if (environment.source_date_epoch) {
    const std::string& epoch = *environment.source_date_epoch;
    long long seconds = 0;
    auto [end, ec] = std::from_chars(epoch.data(), epoch.data() + epoch.size(), seconds);
    if (ec != std::errc() || end != epoch.data() + epoch.size() || epoch.empty())
      return usage_error(err, "SOURCE_DATE_EPOCH is not a whole number of seconds: " + epoch);
    page_time = static_cast<std::time_t>(seconds);
  }

  SettingsRecord record;
  reset_to_defaults(record);
  std::snprintf(record.version, sizeof record.version, "%s", ZELK_VERSION_TEXT);
  std::string ll_field;
  if (choices.settings) {
    switch (load_settings_file(record, *choices.settings)) {
      case LoadOutcome::kNoFile:
        err << "ERROR: Could not open settings file " << *choices.settings << "\n";
        return 1;
      case LoadOutcome::kVersionChanged:
        err << "Version number changed, resetting to default.\n";
        break;
      case LoadOutcome::kLoaded:
        ll_field = record.lower_left_field;
        break;
    }
  }

  if (choices.band) {
    record.band_index = parse_band(*choices.band);
    if (record.band_index < 0) return usage_error(err, "unknown band " + *choices.band);
  }
  if (choices.format) {
    const std::string& format = *choices.format;
    if (format == "portrait") set_print_format(record, kPortrait);
    else if (format == "landscape") set_print_format(record, kLandscape);
    else if (format == "11x17") set_print_format(record, kTabloid);
    else return usage_error(err, "unknown format " + format);
  }
  for (const auto& [option, value] : choices.toggles) record.*option = value;
  if (choices.field) ll_field = upper_case_letters(*choices.field);

  GenerateRequest request;
  request.has_input_file = true;
  request.input_path = choices.listing;
  request.output_path = choices.output ? *choices.output : default_page_name(choices.listing);
  request.ll_field_text = ll_field;
  request.page_time = page_time;
  request.mention_view_button = false;
  request.field_images_folder = environment.field_images_folder;
  GenerateResult result = generate(record, request);
  if (result.status != GenerateStatus::kWritten) {
    err << result.message;
    if (result.message.empty() || result.message.back() != '\n') err << "\n";
    return 1;
  }
  out << result.message;
  if (choices.save_settings && !save_settings_file(record, *choices.save_settings))
    err << "ERROR: Could not save settings file " << *choices.save_settings << "\n";
  return 0;
}

}  // namespace zelk

#include "cli/cli.h"
#include "cli/help_text.h"

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "conversion/every_band.h"
#include "platform/file_paths.h"
#include "platform/staged_files.h"
#include "conversion/generate.h"
#include "conversion/page_clock.h"
#include "conversion/settings_file.h"
#include "conversion/totals_text.h"
#include "listing/band_table.h"
#include "mappage/band_totals.h"
#include "record/settings_record.h"
#include "zelk_version.h"

namespace zelk {

namespace {

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
  bool help = false, version = false;
  std::string listing;
  std::optional<std::string> output, field, settings, save_settings, ffma_list;
  std::optional<int> band;
  std::optional<PrintFormat> format;
  std::vector<std::pair<std::int32_t SettingsRecord::*, std::int32_t>> toggles;
};

int usage_error(std::ostream& err, const std::string& what) {
  err << "zelk2html-cli: " << what << "\n" << kUsage;
  return 2;
}

std::string upper_cased(std::string text) {
  upper_case(text.data());
  return text;
}

// The band a name gives; nullopt, with the usage error in `problem`, for any other text.
std::optional<int> parse_band(const std::string& text, std::string& problem) {
  if (int band = band_from_name(text); band >= 0) return band;
  const std::string upper = upper_cased(text);
  // A bare wavelength ("6") is a name less its unit: say which ones it could be.
  std::string hint;
  if (!upper.empty() && upper.find_first_not_of("0123456789.") == std::string::npos) {
    for (const BandName& name : band_names()) {
      const std::string candidate = upper_cased(name.name);
      if (!candidate.starts_with(upper) || candidate.find_first_of("0123456789.", upper.size()) != std::string::npos)
        continue;
      const std::string caption = band_caption(name.band_index);
      hint += std::string(hint.empty() ? "say " : " or ") + name.name + " " + caption.substr(caption.find('('));
    }
  }
  if (!hint.empty()) {
    problem = "--band " + text + ": " + hint;
  } else {
    problem = "unknown band \"" + text + "\"; say";
    for (const BandName& name : band_names()) problem += std::string(" ") + name.name + ",";
    problem += " or all";
  }
  return std::nullopt;
}

// Any case, as --band takes its names.
std::optional<PrintFormat> parse_format(const std::string& text) {
  const std::string upper = upper_cased(text);
  if (upper == "PORTRAIT") return kPortrait;
  if (upper == "LANDSCAPE") return kLandscape;
  if (upper == "11X17") return kTabloid;
  return std::nullopt;
}

// Fills `choices`; an empty return means success, else the usage error.
std::string parse_arguments(const std::vector<std::string>& args, Choices& choices) {
  bool have_listing = false, options_ended = false;
  std::optional<std::string> band, format;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (arg == "/?" && !options_ended) arg = "--help";  // as Windows programs take it
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      if (have_listing) return "more than one listing given";
      choices.listing = arg;
      have_listing = true;
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") choices.help = true;
    if (arg == "--version") choices.version = true;
    if (choices.help || choices.version) return std::string();
    std::optional<std::string> attached;  // --option=value
    if (std::size_t equals = arg.find('='); arg.starts_with("--") && equals != std::string::npos) {
      attached = arg.substr(equals + 1);
      arg.erase(equals);
    }
    auto value = [&](std::optional<std::string>& slot) -> std::string {
      if (attached) slot = attached;
      else if (i + 1 < args.size()) slot = args[++i];
      else return arg + " needs a value";
      return std::string();
    };
    std::string problem;
    if (arg == "-o" || arg == "--output") problem = value(choices.output);
    else if (arg == "--band") problem = value(band);
    else if (arg == "--field") problem = value(choices.field);
    else if (arg == "--format") problem = value(format);
    else if (arg == "--settings") problem = value(choices.settings);
    else if (arg == "--save-settings") problem = value(choices.save_settings);
    else if (arg == "--ffma-list") problem = value(choices.ffma_list);
    else {
      bool known = false;
      for (const Toggle& toggle : kToggles) {
        if (arg == toggle.name) choices.toggles.emplace_back(toggle.option, 1);
        else if (arg == std::string("--no-") + (toggle.name + 2)) choices.toggles.emplace_back(toggle.option, 0);
        else continue;
        known = true;
      }
      if (!known) return "unknown option " + arg;
      if (attached) return arg + " takes no value";
    }
    if (!problem.empty()) return problem;
  }
  if (!have_listing) return "no listing given";
  // The page names its pictures relative to itself, so it needs a folder.
  if (choices.listing == "-" || choices.output == "-")
    return std::string("- as the ") + (choices.listing == "-" ? "listing" : "page") +
           ": standard input and output are not supported (the page needs its pictures beside it)";
  if (band) {
    std::string problem;
    if (upper_cased(*band) == "ALL") choices.band = kEveryBand;
    else if (!(choices.band = parse_band(*band, problem))) return problem;
  }
  if (format) {
    choices.format = parse_format(*format);
    if (!choices.format) return "unknown format \"" + *format + "\"; say portrait, landscape or 11x17";
  }
  return std::string();
}

// The record and the "LL Field" text the choices give; false when the
// settings file named could not be opened.
bool apply_choices(const Choices& choices, SettingsRecord& record, std::string& ll_field, std::ostream& err) {
  reset_to_defaults(record);
  std::snprintf(record.version, sizeof record.version, "%s", ZELK_VERSION_TEXT);
  if (choices.settings) {
    errno = 0;
    switch (load_settings_file(record, *choices.settings)) {
      case LoadOutcome::kNoFile:
        err << "ERROR: Could not open settings file " << *choices.settings << ": "
            << std::error_code(errno != 0 ? errno : ENOENT, std::generic_category()).message() << "\n";
        return false;
      case LoadOutcome::kVersionChanged:
        err << "Version number changed, resetting to default.\n";
        break;
      case LoadOutcome::kLoaded:
        ll_field = record.lower_left_field;
        break;
    }
  }
  if (choices.band) record.band_index = *choices.band;
  if (choices.format) set_print_format(record, *choices.format);
  for (const auto& [option, value] : choices.toggles) record.*option = value;
  if (choices.field) {
    ll_field = *choices.field;
    upper_case(ll_field.data());  // as the dialog's "LL Field" box does
  }
  return true;
}

// The report's errors and warnings on stderr, what was written on stdout.
int print_report(const RunReport& report, bool succeeded, std::ostream& out, std::ostream& err) {
  err << report.errors;
  out << report.summary;
  return succeeded ? 0 : 1;
}

void remove_temporaries_and_stop(int signal_number) {
  remove_temporary_files();
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

}  // namespace

void stop_cleanly_when_interrupted() {
  // A signal the starting shell chose to ignore (a background job's Ctrl-C)
  // stays ignored.
  for (int signal_number : {SIGINT, SIGTERM})
    if (std::signal(signal_number, remove_temporaries_and_stop) == SIG_IGN) std::signal(signal_number, SIG_IGN);
}

int cli_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const CliEnvironment& environment) {
  Choices choices;
  if (std::string problem = parse_arguments(args, choices); !problem.empty()) return usage_error(err, problem);
  if (choices.help) {
    out << kUsage << "\n" << kHelp;
    return 0;
  }
  if (choices.version) {
    out << "zelk2html-cli " ZELK_VERSION_TEXT "\n";
    return 0;
  }

  GenerateRequest request;
  request.page_time = environment.now;
  // Set but empty counts as unset, as build tools treat it.
  if (environment.source_date_epoch && !environment.source_date_epoch->empty()) {
    std::optional<std::time_t> epoch = source_date_epoch(environment.source_date_epoch->c_str());
    if (!epoch) {
      err << "zelk2html-cli: SOURCE_DATE_EPOCH is not a whole number of seconds: " << *environment.source_date_epoch
          << "\n";
      return 2;
    }
    request.page_time = *epoch;
  }
  SettingsRecord record;
  if (!apply_choices(choices, record, request.ll_field_text, err)) return 1;
  request.has_input_file = true;
  request.input_path = choices.listing;
  request.mention_view_button = false;
  request.field_images_folder = environment.field_images_folder;
  if (choices.settings) request.kept_files.emplace_back("settings file", *choices.settings);
  request.find_field = choices.field && upper_cased(*choices.field) == "AUTO";
  if (record.band_index == kEveryBand) {
    if (choices.save_settings) return usage_error(err, "--save-settings cannot be used with --band all");
    if (choices.ffma_list)
      return usage_error(err, "--ffma-list cannot be used with --band all (--ffma lists every band)");
    const EveryBandRequest every{request, choices.output.value_or("")};
    const EveryBandResult result = generate_every_band(record, every);
    return print_report(every_band_report(result, every), result.succeeded(), out, err);
  }

  request.output_path = choices.output ? *choices.output : page_name_for(file_name_of(choices.listing));
  if (choices.save_settings) request.settings_to_save = *choices.save_settings;
  request.ffma_list_path = choices.ffma_list.value_or("");
  const GenerateResult result = generate(record, request);
  return print_report(report_of(result), result.status == GenerateStatus::kWritten, out, err);
}

}  // namespace zelk

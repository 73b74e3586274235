#include "cli/cli.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "conversion/file_paths.h"
#include "conversion/generate.h"
#include "conversion/page_clock.h"
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
    "                     [--ffma|--no-ffma] [--settings FILE] [--save-settings FILE]\n"
    "       zelk2html-cli LISTING --band all [-o FOLDER] [the options above]\n";

constexpr const char* kHelp =
    "Writes the grid map page of one band, or of every band, of a worked-grid\n"
    "listing (CSV).\n"
    "\n"
    "  LISTING              the listing: a header row \"Grid\" (or \"Prefix\") and one\n"
    "                       band column per band, then one row per grid\n"
    "  -o, --output PAGE    the page to write (default: the listing's name with\n"
    "                       \".html\", in the current folder)\n"
    "  --band B             band index 0..10, band caption (\"2 M (144 MHz)\") or a\n"
    "                       column label such as 2M, 144, 23cm or SAT\n"
    "  --band all           one page per band column of the listing, in the folder\n"
    "                       -o names (default: the current folder), each named\n"
    "                       after the listing and the band's MHz as its caption\n"
    "                       gives them: grids-144.html (2 M), grids-10000.html\n"
    "                       (10 GHz), grids-sat.html (Satellite)\n"
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
    "                       (not with --band all: a settings file holds one band)\n"
    "  -h, --help           this text;  --version  the program's version\n"
    "\n"
    "Options not given come from --settings or from the defaults. When\n"
    "SOURCE_DATE_EPOCH is set, the page is dated with that instant (UTC).\n"
    "Exit status: 0 page written, 1 error (no page written or changed; with\n"
    "--band all, pages already written stay), 2 usage.\n";

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

// Part of each page's name under --band all: plain ASCII, one per band.
constexpr const char* kBandFileNames[kBandCount] = {"50",   "144",  "220",  "430",   "900", "1296",
                                                    "2304", "3456", "5768", "10000", "sat"};

struct Choices {
  std::string listing;
  std::optional<std::string> output, field, settings, save_settings;
  std::optional<int> band;
  bool every_band = false;
  std::optional<PrintFormat> format;
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

std::optional<PrintFormat> parse_format(const std::string& text) {
  if (text == "portrait") return kPortrait;
  if (text == "landscape") return kLandscape;
  if (text == "11x17") return kTabloid;
  return std::nullopt;
}

// The dialog's "LL Field" box turns typed letters into capitals.
std::string upper_case_letters(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// Fills `choices`; an empty return means success, else the usage error.
std::string parse_arguments(const std::vector<std::string>& args, Choices& choices) {
  bool have_listing = false;
  std::optional<std::string> band, format;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::optional<std::string>& slot) -> std::string {
      if (i + 1 >= args.size()) return arg + " needs a value";
      slot = args[++i];
      return std::string();
    };
    std::string problem;
    if (arg == "-o" || arg == "--output") problem = value(choices.output);
    else if (arg == "--band") problem = value(band);
    else if (arg == "--field") problem = value(choices.field);
    else if (arg == "--format") problem = value(format);
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
  if (band) {
    choices.every_band = *band == "all";
    if (!choices.every_band) choices.band = parse_band(*band);
    if (choices.band && *choices.band < 0) return "unknown band " + *band;
  }
  if (choices.every_band && choices.save_settings) return "--save-settings cannot be used with --band all";
  if (format) {
    choices.format = parse_format(*format);
    if (!choices.format) return "unknown format " + *format;
  }
  return std::string();
}

// The record and the "LL Field" text the choices give; false when the
// settings file named could not be opened.
bool apply_choices(const Choices& choices, SettingsRecord& record, std::string& ll_field, std::ostream& err) {
  reset_to_defaults(record);
  std::snprintf(record.version, sizeof record.version, "%s", ZELK_VERSION_TEXT);
  if (choices.settings) {
    switch (load_settings_file(record, *choices.settings)) {
      case LoadOutcome::kNoFile:
        err << "ERROR: Could not open settings file " << *choices.settings << "\n";
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
  if (choices.field) ll_field = upper_case_letters(*choices.field);
  return true;
}

void report_failure(std::ostream& err, const std::string& message) {
  err << message;
  if (message.empty() || message.back() != '\n') err << "\n";
}

// Every band whose column the header holds, by the rules the listing reader
// applies; empty when the header cannot be read or has none.
std::vector<int> bands_in_header(const std::string& listing) {
  std::ifstream in(listing, std::ios::binary);
  std::vector<std::string> fields(1);
  for (char c; in.get(c) && c != '\n' && c != '\r';) {
    if (c == ',') fields.emplace_back();
    else fields.back() += c;
  }
  if (fields[0] != "Grid" && fields[0] != "Prefix") return {};
  std::set<int> bands;
  SettingsRecord scratch;
  reset_to_defaults(scratch);
  for (std::size_t column = 1; column < fields.size(); ++column) {
    // A label may name one band as a wavelength and another as a frequency.
    bands.insert(band_from_label(fields[column].data(), nullptr, scratch));
    bands.insert(band_from_frequency(fields[column].data(), nullptr, scratch));
  }
  bands.erase(-1);
  return std::vector<int>(bands.begin(), bands.end());
}

// One Generate per band, each page as that band's own run writes it. A
// refusal holds for every band, so it ends the run.
int write_every_band(const SettingsRecord& record, GenerateRequest request, const std::optional<std::string>& folder,
                     std::ostream& out, std::ostream& err) {
  std::vector<int> bands = bands_in_header(request.input_path);
  // Generate then tells what is wrong with the listing, as for one band.
  if (bands.empty()) bands.push_back(0);
  int status = 0;
  std::string advice;
  for (int band : bands) {
    SettingsRecord band_record = record;
    band_record.band_index = band;
    std::string page = page_name_for(file_name_of(request.input_path), std::string("-") + kBandFileNames[band]);
    request.output_path = folder ? name_of(path_of(*folder) / path_of(page)) : page;
    GenerateResult result = generate(band_record, request);
    if (result.status != GenerateStatus::kWritten) {
      report_failure(err, result.message);
      status = 1;
      if (result.status == GenerateStatus::kRefused) break;
      continue;
    }
    std::size_t line_end = std::min(result.message.find("\n\n"), result.message.size());
    out << band_caption(band) << ": " << result.message.substr(0, line_end) << "\n";
    advice = result.message.substr(std::min(line_end + 1, result.message.size()));
  }
  out << advice;
  return status;
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

  GenerateRequest request;
  request.page_time = environment.now;
  if (environment.source_date_epoch) {
    std::optional<std::time_t> epoch = source_date_epoch(environment.source_date_epoch->c_str());
    if (!epoch) return usage_error(err, "SOURCE_DATE_EPOCH is not a whole number of seconds: " + *environment.source_date_epoch);
    request.page_time = *epoch;
  }
  SettingsRecord record;
  if (!apply_choices(choices, record, request.ll_field_text, err)) return 1;
  request.has_input_file = true;
  request.input_path = choices.listing;
  request.mention_view_button = false;
  request.field_images_folder = environment.field_images_folder;
  if (choices.every_band) return write_every_band(record, request, choices.output, out, err);

  request.output_path = choices.output ? *choices.output : page_name_for(file_name_of(choices.listing));
  GenerateResult result = generate(record, request);
  if (result.status != GenerateStatus::kWritten) {
    report_failure(err, result.message);
    return 1;
  }
  out << result.message;
  if (choices.save_settings && !save_settings_file(record, *choices.save_settings))
    err << "ERROR: Could not save settings file " << *choices.save_settings << "\n";
  return 0;
}

}  // namespace zelk

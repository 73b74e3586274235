#include "listing/band_table.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "record/bounded_text.h"

namespace zelk {

namespace {

struct Band {
  const char* caption;
  const char* page_name;
};
constexpr Band kBands[kBandCount] = {
    {"6 M (50 MHz)", "50"},       {"2 M (144 MHz)", "144"},     {"1.25 M (220 MHz)", "220"},
    {"70 CM (430 MHz)", "430"},   {"33 CM (900 MHz)", "900"},   {"23 CM (1296 MHz)", "1296"},
    {"13 CM (2304 MHz)", "2304"}, {"9 CM (3456 MHz)", "3456"},  {"6 CM (5768 MHz)", "5768"},
    {"3 CM (10 GHz)", "10000"},   {"Satellite", "sat"},
};

constexpr BandName kBandNames[] = {
    {"6m", 0},     {"2m", 1},      {"1.25m", 2},   {"70cm", 3},    {"33cm", 4},    {"23cm", 5},    {"13cm", 6},
    {"9cm", 7},    {"6cm", 8},     {"3cm", 9},     {"50", 0},      {"144", 1},     {"220", 2},     {"222", 2},
    {"430", 3},    {"432", 3},     {"900", 4},     {"902", 4},     {"1296", 5},    {"2304", 6},    {"3456", 7},
    {"5760", 8},   {"5768", 8},    {"10000", 9},   {"10368", 9},   {"2.3G", 6},    {"3.4G", 7},    {"5.7G", 8},
    {"10G", 9},    {"sat", 10},    {"satellite", 10}, {"any", kAnyBand},
};

bool is_c_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The leading integer as the C library's strtol reads it, saturated to int.
int leading_integer(const char* text) {
  long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// The leading decimal number with a point as separator, whatever the locale
// (a GUI toolkit may have switched the C library to a comma).
double leading_decimal(const char* text) {
  while (is_c_space(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  // strtod reads hexadecimal too ("0X1.4" is 1.25); from_chars wants it
  // without its prefix.
  std::chars_format format = std::chars_format::general;
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    format = std::chars_format::hex;
    text += 2;
  }
  if (*text == '+' || *text == '-') return 0.0;  // from_chars would take a second sign
  double value = 0.0;
  std::from_chars_result result = std::from_chars(text, text + std::strlen(text), value, format);
  if (result.ec == std::errc::invalid_argument) return 0.0;
  return negative ? -value : value;
}

bool in_range(double value, double low, double high) { return value >= low && value < high; }

int unrecognized(const char* what, const char* label, const char* listing_path, SettingsRecord& record) {
  if (listing_path != nullptr)
    format_into(record.message, kMessageSize, "Unrecognized %s: %s in %s", what, label, listing_path);
  else
    format_into(record.message, kMessageSize, "Unrecognized %s: %s", what, label);
  return -1;
}

}  // namespace

const char* band_caption(int band_index) {
  if (band_index == kAnyBand) return "Any band";
  return band_index >= 0 && band_index < kBandCount ? kBands[band_index].caption : "";
}

std::string band_name(int band_index) {
  const std::string caption = band_caption(band_index);
  return caption.substr(0, caption.find(" ("));
}

const char* band_page_name(int band_index) {
  if (band_index == kAnyBand) return "any";
  return band_index >= 0 && band_index < kBandCount ? kBands[band_index].page_name : "";
}

std::span<const BandName> band_names() { return kBandNames; }

std::span<const BandChoice> band_choices() {
  static const std::vector<BandChoice> choices = [] {
    std::vector<BandChoice> rows;
    for (int band = 0; band < kBandCount; ++band) rows.push_back({band, band_caption(band)});
    rows.push_back({kEveryBand, "All bands"});
    rows.push_back({kAnyBand, band_caption(kAnyBand)});
    return rows;
  }();
  return choices;
}

int band_from_name(std::string_view name) {
  auto capital = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  auto same = [&](char a, char b) { return capital(a) == capital(b); };
  for (const BandName& band : kBandNames)
    if (std::string_view(band.name).size() == name.size() && std::equal(name.begin(), name.end(), band.name, same))
      return band.band_index;
  return -1;
}

void upper_case(char* text) {
  for (; *text != '\0'; ++text)
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
}

int band_from_label(char* label, const char* listing_path, SettingsRecord& record) {
  upper_case(label);
  switch (leading_integer(label)) {
    case 2: return 1;
    case 3: return 9;
    case 6: return std::strchr(label, 'C') != nullptr ? 8 : 0;
    case 9: return 7;
    case 13: return 6;
    case 23: return 5;
    case 33: return 4;
    case 70: return 3;
    default: break;
  }
  if (in_range(leading_decimal(label), 1.19, 1.26)) return 2;
  if (std::strcmp(label, "SAT") == 0) return 10;
  return unrecognized("band", label, listing_path, record);
}

int band_from_frequency(char* label, const char* listing_path, SettingsRecord& record) {
  upper_case(label);
  switch (leading_integer(label)) {
    case 10: return 9;
    case 50: return 0;
    case 144: return 1;
    case 220: return 2;
    case 440: return 3;
    case 900: return 4;
    default: break;
  }
  double value = leading_decimal(label);
  if (in_range(value, 1.29, 1.31)) return 5;
  if (in_range(value, 2.29, 2.31)) return 6;
  if (in_range(value, 3.29, 3.31)) return 7;
  if (in_range(value, 5.59, 5.61)) return 8;
  if (std::strcmp(label, "SAT") == 0) return 10;
  return unrecognized("frequency", label, listing_path, record);
}

}  // namespace zelk

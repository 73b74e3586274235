// The band-label and frequency-label rules on any text (checks: docs/robustness.md).
#include <cstdint>
#include <cstring>
#include <string>

#include "conversion/settings_record.h"
#include "listing/band_table.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using Rule = int (*)(char*, const char*, zelk::SettingsRecord&);

std::string lower_case(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

void check_rule(Rule rule, const char* unrecognized, const std::string& text) {
  zelk::SettingsRecord record;
  zelk::reset_to_defaults(record);
  std::string label = text;
  int band = rule(label.data(), "listing.csv", record);
  FUZZ_CHECK(band >= -1 && band <= 10);
  for (char c : label) FUZZ_CHECK(!(c >= 'a' && c <= 'z'));
  FUZZ_CHECK(std::memchr(record.message, '\0', sizeof record.message) != nullptr);
  if (band == -1) FUZZ_CHECK(std::strncmp(record.message, unrecognized, std::strlen(unrecognized)) == 0);
  if (band != -1) FUZZ_CHECK(record.message[0] == '\0');
  if (band >= 0) FUZZ_CHECK(zelk::band_caption(band)[0] != '\0');

  std::string again = label;
  FUZZ_CHECK(rule(again.data(), nullptr, record) == band);
  std::string lower = lower_case(text);
  FUZZ_CHECK(rule(lower.data(), nullptr, record) == band);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A label is a C string: it ends at its first NUL.
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(std::strlen(text.c_str()));
  check_rule(zelk::band_from_label, "Unrecognized band: ", text);
  check_rule(zelk::band_from_frequency, "Unrecognized frequency: ", text);
  return 0;
}

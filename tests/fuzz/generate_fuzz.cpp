// Generate on a fuzzed listing into a folder holding a previous page; five
// leading bytes choose band, "LL Field", print format and options
// (checks: docs/robustness.md).
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "conversion/generate.h"
#include "conversion/settings_record.h"
#include "tests/fuzz/fuzz_check.h"

constexpr const char* kPreviousPage = "<html>previous page</html>\n";

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const std::string folder = zelk::fuzz::scratch_folder();
  const std::string listing = folder + "/listing.csv";
  const std::string page = folder + "/listing.html";
  zelk::fuzz::write_file(listing, std::string(reinterpret_cast<const char*>(data + 5), size - 5));
  zelk::fuzz::write_file(page, kPreviousPage);

  zelk::SettingsRecord record;
  zelk::reset_to_defaults(record);
  record.band_index = data[0] % 12 - 1;
  const char ll_field[3] = {static_cast<char>('A' + data[1] % 20), static_cast<char>('A' + data[2] % 20), '\0'};
  zelk::set_print_format(record, data[3] % 4);
  int bit = 0;
  for (auto option : {&zelk::SettingsRecord::bold_option, &zelk::SettingsRecord::color_option,
                      &zelk::SettingsRecord::confirmed_as_checked_option, &zelk::SettingsRecord::ffma_option,
                      &zelk::SettingsRecord::emphasize_needed_option, &zelk::SettingsRecord::submitted_as_checked_option})
    record.*option = (data[4] >> bit++) & 1;

  zelk::GenerateRequest request{.has_input_file = true, .input_path = listing, .output_path = page,
                                .ll_field_text = ll_field, .page_time = 1700000000, .mention_view_button = true,
                                .field_images_folder = {}};
  zelk::GenerateResult result = zelk::generate(record, request);

  FUZZ_CHECK(!result.message.empty());
  FUZZ_CHECK(std::memchr(record.message, '\0', sizeof record.message) != nullptr);
  std::ifstream in(page, std::ios::binary);
  const std::string written{std::istreambuf_iterator<char>(in), {}};
  if (result.status == zelk::GenerateStatus::kWritten) {
    FUZZ_CHECK(written.starts_with("<html>\n") && written.ends_with("</html>\n"));
    FUZZ_CHECK(result.credited_count >= 0 && result.credited_count <= record.map_rows * record.map_columns * 100);
    FUZZ_CHECK(result.ffma_count >= 0 && result.ffma_count <= result.credited_count);
    FUZZ_CHECK(result.message.rfind("Wrote ", 0) == 0);
  } else {
    FUZZ_CHECK(written == kPreviousPage);
  }
  FUZZ_CHECK(std::distance(std::filesystem::directory_iterator(folder), {}) == 2);
  return 0;
}

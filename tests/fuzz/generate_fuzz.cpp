// Generate on a fuzzed listing into a folder holding a previous page; five
// leading bytes choose band, "LL Field", print format and options
// (checks: docs/robustness.md).
#include <cstdint>
#include <cstring>

#include "tests/fuzz/fuzz_check.h"

constexpr const char* kPreviousPage = "<html>previous page</html>\n";

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  static const zelk::test::ScratchFolder folder;
  const std::string listing = folder / "listing.csv", page = folder / "listing.html";
  zelk::test::write_file(listing, std::string(reinterpret_cast<const char*>(data + 5), size - 5));
  zelk::test::write_file(page, kPreviousPage);

  zelk::SettingsRecord record = zelk::test::record_for(data[0] % 14 - 1);  // -1..12: any band too
  const char ll_field[3] = {static_cast<char>('A' + data[1] % 20), static_cast<char>('A' + data[2] % 20), '\0'};
  zelk::set_print_format(record, data[3] % 4);
  int bit = 0;
  for (auto option : {&zelk::SettingsRecord::bold_option, &zelk::SettingsRecord::color_option,
                      &zelk::SettingsRecord::confirmed_as_checked_option, &zelk::SettingsRecord::ffma_option,
                      &zelk::SettingsRecord::emphasize_needed_option, &zelk::SettingsRecord::submitted_as_checked_option})
    record.*option = (data[4] >> bit++) & 1;

  zelk::GenerateRequest request = zelk::test::request_for(listing, page, ll_field);
  request.page_time = 1700000000;
  request.mention_view_button = true;
  zelk::GenerateResult result = zelk::generate(record, request);

  FUZZ_CHECK(!result.message.empty());
  FUZZ_CHECK(std::memchr(record.message, '\0', sizeof record.message) != nullptr);
  const std::string written = zelk::test::read_file(page);
  if (result.status == zelk::GenerateStatus::kWritten) {
    FUZZ_CHECK(written.starts_with("<html>\n") && written.ends_with("</html>\n"));
    FUZZ_CHECK(result.credited_count >= 0 && result.credited_count <= record.map_rows * record.map_columns * 100);
    FUZZ_CHECK(result.ffma_count >= 0 && result.ffma_count <= result.credited_count);
    FUZZ_CHECK(result.message.rfind("Wrote ", 0) == 0);
  } else {
    FUZZ_CHECK(written == kPreviousPage);
  }
  FUZZ_CHECK(folder.names().size() == 2);
  return 0;
}

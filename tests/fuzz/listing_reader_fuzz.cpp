// The listing reader on any bytes: the first is the band index (signed), the
// second the length of the path in messages (checks: docs/robustness.md).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/listing/aa_tree_check.h"
#include "listing/listing_reader.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  zelk::SettingsRecord record = zelk::test::record_for(static_cast<std::int8_t>(data[0]));
  const std::string path = "listings/" + std::string(data[1] * 2u, 'p') + ".csv";

  // fmemopen refuses an empty buffer on some C libraries.
  std::string listing(reinterpret_cast<const char*>(data + 2), size - 2);
  std::FILE* stream = listing.empty() ? std::tmpfile() : fmemopen(listing.data(), listing.size(), "r");
  if (stream == nullptr) return 0;
  zelk::GridIndex index = zelk::read_listing(stream, path.c_str(), record);
  std::fclose(stream);

  FUZZ_CHECK(std::memchr(record.message, '\0', sizeof record.message) != nullptr);
  const bool read_all = std::strncmp(record.message, "Read  ", 6) == 0;
  FUZZ_CHECK(read_all || std::strncmp(record.message, "ERROR: ", 7) == 0);
  std::vector<std::string> keys;
  FUZZ_CHECK(zelk::aa_tree_fault(index, keys).empty());
  FUZZ_CHECK(std::adjacent_find(keys.begin(), keys.end(), std::greater_equal<>()) == keys.end());
  const long nodes = static_cast<long>(keys.size());
  FUZZ_CHECK(read_all ? std::atol(record.message + 6) >= nodes : nodes == 0);
  return 0;
}

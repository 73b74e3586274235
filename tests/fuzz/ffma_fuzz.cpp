// The FFMA test and the outline lookup on any text (checks: docs/robustness.md).
#include <cstdint>
#include <cstring>
#include <string>

#include "ffma/ffma_data.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(std::strlen(text.c_str()));
  const char* grid = text.c_str();

  int member = zelk::ffma_member(grid);
  FUZZ_CHECK(member == 0 || member == 1);
  if (member == 1) {
    static const char* const kFields[] = {"CM", "CN", "DL", "DM", "DN", "EL", "EM", "EN", "FM", "FN"};
    bool award_field = false;
    for (const char* field : kFields) award_field = award_field || text.compare(0, 2, field) == 0;
    FUZZ_CHECK(award_field);
  }
  if (text.size() >= 2 && text[0] == 'E' && text[1] == 'M') FUZZ_CHECK(member == 1);

  const char* border = zelk::outline_border_class(grid);
  FUZZ_CHECK(border != nullptr);
  if (std::strcmp(border, "none") != 0) {
    bool found = false;
    for (const zelk::OutlineRow& row : zelk::kOutlineTable)
      found = found || (std::strcmp(row.grid, grid) == 0 && std::strcmp(row.border_class, border) == 0);
    FUZZ_CHECK(found);
  }
  return 0;
}

// The settings record's byte image, which is also the settings file's layout.
#include "conversion/settings_record.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace zelk {
namespace {

std::string hex(const unsigned char* bytes, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i)
    text += {"0123456789ABCDEF"[bytes[i] >> 4], "0123456789ABCDEF"[bytes[i] & 15], ' '};
  return text;
}

TEST(SettingsRecord, ByteImageHasFixedOffsetsAndLittleEndianIntegers) {
  SettingsRecord record;
  std::memset(&record, 0x5A, sizeof record);
  reset_to_defaults(record);
  RecordBytes bytes;
  const RecordBytes zeros{};
  record_to_bytes(record, bytes);
  EXPECT_EQ(hex(bytes, 552), hex(zeros, 552));
  // band -1, bold, color, C = S = * 1, FFMA 0, reserved -1, rows 3, landscape, needed 1, S = * 0, columns 4
  EXPECT_EQ(hex(bytes + 552, 44),
            "FF FF FF FF 01 00 00 00 01 00 00 00 01 00 00 00 00 00 00 00 FF FF FF FF "
            "03 00 00 00 01 00 00 00 01 00 00 00 00 00 00 00 04 00 00 00 ");

  std::strcpy(record.version, "3.3.0.1");
  std::strcpy(record.program_directory, "/d/");
  record.band_index = 0x01020304;
  record.map_columns = -2;
  record_to_bytes(record, bytes);
  EXPECT_STREQ(reinterpret_cast<char*>(bytes + 296), "/d/");
  EXPECT_EQ(hex(bytes + 552, 4) + hex(bytes + 592, 4), "04 03 02 01 FE FF FF FF ");

  SettingsRecord back;
  reset_to_defaults(back);
  record_from_bytes(back, bytes, sizeof bytes);
  EXPECT_EQ(std::memcmp(&back, &record, sizeof record), 0);
}

}  // namespace
}  // namespace zelk

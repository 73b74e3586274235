// The settings record's byte image, which is also the settings file's layout.
#include "conversion/settings_record.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace zelk {
namespace {

std::string hex(const unsigned char* bytes, std::size_t count) {
  std::string text;
  char pair[4];
  for (std::size_t i = 0; i < count; ++i) {
    std::snprintf(pair, sizeof pair, "%02X ", bytes[i]);
    text += pair;
  }
  return text;
}

TEST(SettingsRecord, DefaultImageIsZeroApartFromTheDefaults) {
  SettingsRecord record;
  std::memset(&record, 0x5A, sizeof record);
  reset_to_defaults(record);
  RecordBytes bytes;
  record_to_bytes(record, bytes);
  const RecordBytes zeros{};
  EXPECT_EQ(hex(bytes, 552), hex(zeros, 552));
  // band -1, bold 1, color 1, C = S = * 1, FFMA 0, reserved -1, rows 3,
  // landscape, needed 1, S = * 0, columns 4
  EXPECT_EQ(hex(bytes + 552, 44),
            "FF FF FF FF 01 00 00 00 01 00 00 00 01 00 00 00 00 00 00 00 FF FF FF FF "
            "03 00 00 00 01 00 00 00 01 00 00 00 00 00 00 00 04 00 00 00 ");
}

TEST(SettingsRecord, FieldsLieAtTheirOffsetsWithLittleEndianIntegers) {
  SettingsRecord record;
  reset_to_defaults(record);
  std::strcpy(record.version, "3.3.0.1");
  std::strcpy(record.lower_left_field, "FN");
  std::strcpy(record.program_base_name, "zelk2html");
  std::strcpy(record.message, "m");
  std::strcpy(record.program_directory, "/d/");
  record.band_index = 0x01020304;
  record.map_columns = -2;
  RecordBytes bytes;
  record_to_bytes(record, bytes);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes)), "3.3.0.1");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 16)), "FN");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 24)), "zelk2html");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 40)), "m");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 296)), "/d/");
  EXPECT_EQ(hex(bytes + 552, 4), "04 03 02 01 ");
  EXPECT_EQ(hex(bytes + 592, 4), "FE FF FF FF ");

  SettingsRecord back;
  reset_to_defaults(back);
  record_from_bytes(back, bytes, sizeof bytes);
  EXPECT_EQ(std::memcmp(&back, &record, sizeof record), 0);
}

TEST(SettingsRecord, ShortImageReplacesOnlyTheBytesItHolds) {
  SettingsRecord record;
  reset_to_defaults(record);
  unsigned char bytes[554] = {};
  std::memcpy(bytes, "3.3", 3);
  bytes[552] = 0x05;  // low half of the band index; the high half stays FF FF
  record_from_bytes(record, bytes, sizeof bytes);
  EXPECT_STREQ(record.version, "3.3");
  EXPECT_EQ(record.band_index, -65531);  // 0xFFFF0005
  EXPECT_EQ(record.bold_option, 1);
  EXPECT_EQ(record.map_columns, 4);
}

TEST(SettingsRecord, PrintFormatSetsTheMapSize) {
  struct Case {
    std::int32_t format, columns, rows;
  };
  for (Case c : {Case{kPortrait, 3, 4}, Case{kLandscape, 4, 3}, Case{kTabloid, 6, 4}, Case{7, 5, 9}}) {
    SettingsRecord record;
    reset_to_defaults(record);
    record.map_columns = 5;
    record.map_rows = 9;
    set_print_format(record, c.format);
    EXPECT_EQ(record.print_format, c.format);
    EXPECT_EQ(record.map_columns, c.columns) << c.format;
    EXPECT_EQ(record.map_rows, c.rows) << c.format;
  }
}

}  // namespace
}  // namespace zelk

#include "record/settings_record.h"

#include <cstring>

namespace zelk {

namespace {

struct IntField {
  std::size_t offset;
  std::int32_t SettingsRecord::*member;
};

constexpr IntField kIntFields[] = {
    {552, &SettingsRecord::band_index},
    {556, &SettingsRecord::bold_option},
    {560, &SettingsRecord::color_option},
    {564, &SettingsRecord::confirmed_as_checked_option},
    {568, &SettingsRecord::ffma_option},
    {572, &SettingsRecord::reserved_band_index},
    {576, &SettingsRecord::map_rows},
    {580, &SettingsRecord::print_format},
    {584, &SettingsRecord::emphasize_needed_option},
    {588, &SettingsRecord::submitted_as_checked_option},
    {592, &SettingsRecord::map_columns},
};

constexpr std::size_t kTextBytes = 552;  // the five string fields, back to back

}  // namespace

void reset_to_defaults(SettingsRecord& record) {
  std::memset(&record, 0, sizeof record);
  record.band_index = -1;
  record.bold_option = 1;
  record.color_option = 1;
  record.confirmed_as_checked_option = 1;
  record.ffma_option = 0;
  record.reserved_band_index = -1;
  record.map_rows = 3;
  record.print_format = kLandscape;
  record.emphasize_needed_option = 1;
  record.submitted_as_checked_option = 0;
  record.map_columns = 4;
}

void set_print_format(SettingsRecord& record, std::int32_t print_format) {
  record.print_format = print_format;
  switch (print_format) {
    case kPortrait: record.map_columns = 3; record.map_rows = 4; break;
    case kLandscape: record.map_columns = 4; record.map_rows = 3; break;
    case kTabloid: record.map_columns = 6; record.map_rows = 4; break;
    default: break;
  }
}

void record_to_bytes(const SettingsRecord& record, RecordBytes& bytes) {
  std::memcpy(bytes, &record, kTextBytes);
  for (const IntField& field : kIntFields) {
    auto value = static_cast<std::uint32_t>(record.*field.member);
    for (int i = 0; i < 4; ++i) bytes[field.offset + i] = static_cast<unsigned char>(value >> (8 * i));
  }
}

void record_from_bytes(SettingsRecord& record, const unsigned char* bytes, std::size_t length) {
  if (length > kSettingsRecordSize) length = kSettingsRecordSize;
  // Byte for byte over the current image, so a short file replaces exactly
  // the bytes it holds, even half of an integer.
  RecordBytes image;
  record_to_bytes(record, image);
  std::memcpy(image, bytes, length);
  std::memcpy(&record, image, kTextBytes);
  for (const IntField& field : kIntFields) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t{image[field.offset + i]} << (8 * i);
    record.*field.member = static_cast<std::int32_t>(value);
  }
}

}  // namespace zelk

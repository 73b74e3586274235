// The settings record: every choice of the dialog, the program's identity and
// the message buffer. Its memory layout is also the settings file's layout
// (596 bytes, little-endian integers, no gaps), so the struct must not change.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zelk {

inline constexpr std::size_t kSettingsRecordSize = 596;
inline constexpr std::size_t kMessageSize = 256;

enum PrintFormat : std::int32_t {
  kPortrait = 0,
  kLandscape = 1,
  kTabloid = 2,  // 17" x 11"
};

struct SettingsRecord {
  char version[16];
  char lower_left_field[8];
  char program_base_name[16];
  char message[kMessageSize];
  char program_directory[256];
  std::int32_t band_index;  // -1 none, 0..10 a band, 11 every band of the listing, 12 any band
  std::int32_t bold_option;
  std::int32_t color_option;
  std::int32_t confirmed_as_checked_option;
  std::int32_t ffma_option;
  std::int32_t reserved_band_index;
  std::int32_t map_rows;
  std::int32_t print_format;
  std::int32_t emphasize_needed_option;
  std::int32_t submitted_as_checked_option;
  std::int32_t map_columns;
};

static_assert(sizeof(SettingsRecord) == kSettingsRecordSize);
static_assert(offsetof(SettingsRecord, version) == 0);
static_assert(offsetof(SettingsRecord, lower_left_field) == 16);
static_assert(offsetof(SettingsRecord, program_base_name) == 24);
static_assert(offsetof(SettingsRecord, message) == 40);
static_assert(offsetof(SettingsRecord, program_directory) == 296);
static_assert(offsetof(SettingsRecord, band_index) == 552);
static_assert(offsetof(SettingsRecord, bold_option) == 556);
static_assert(offsetof(SettingsRecord, color_option) == 560);
static_assert(offsetof(SettingsRecord, confirmed_as_checked_option) == 564);
static_assert(offsetof(SettingsRecord, ffma_option) == 568);
static_assert(offsetof(SettingsRecord, reserved_band_index) == 572);
static_assert(offsetof(SettingsRecord, map_rows) == 576);
static_assert(offsetof(SettingsRecord, print_format) == 580);
static_assert(offsetof(SettingsRecord, emphasize_needed_option) == 584);
static_assert(offsetof(SettingsRecord, submitted_as_checked_option) == 588);
static_assert(offsetof(SettingsRecord, map_columns) == 592);

void reset_to_defaults(SettingsRecord& record);

// Sets print format, map rows and map columns together, as the radio buttons
// do. Other formats leave the map size as it stands.
void set_print_format(SettingsRecord& record, std::int32_t print_format);

// The record as the settings file stores it, independent of host byte order.
using RecordBytes = unsigned char[kSettingsRecordSize];
void record_to_bytes(const SettingsRecord& record, RecordBytes& bytes);
// Reads the first `length` bytes (at most 596) over `record`; the rest keeps
// what the record held.
void record_from_bytes(SettingsRecord& record, const unsigned char* bytes, std::size_t length);

}  // namespace zelk

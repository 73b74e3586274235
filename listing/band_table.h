// The eleven bands and the two rule sets that recognise a band column by its
// label: a wavelength ("2M", "23CM", "SAT") or a frequency ("144", "2.3").
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "record/settings_record.h"

namespace zelk {

inline constexpr int kBandCount = 11;
// The record's band index for every band of the listing at once.
inline constexpr int kEveryBand = kBandCount;
// The record's band index for one map of every band column: each square at
// its best status over them all.
inline constexpr int kAnyBand = kEveryBand + 1;

// Caption of a band index 0..10 or kAnyBand, as the dialog lists it; "" for others.
const char* band_caption(int band_index);
// The caption without its frequency: "2 M", "13 CM", "Satellite".
std::string band_name(int band_index);
// The band's part of a page's name: its MHz as the caption gives it, or
// "sat", or "any"; plain ASCII. "" for others.
const char* band_page_name(int band_index);

// The rows a user picks a band from in the dialog, in order: every band,
// then all of them at once, then the any band.
struct BandChoice {
  int band_index;
  const char* caption;
};
std::span<const BandChoice> band_choices();

// The names a user gives a band by (the command line's --band), in any case:
// wavelengths, MHz, GHz, "sat", "any". A closed list: a lenient label rule here
// would let "2.3G" draw the 2 M map, as the header rules read it.
struct BandName {
  const char* name;
  int band_index;
};
std::span<const BandName> band_names();
// The band a name gives, in any case; -1 for any other text.
int band_from_name(std::string_view name);

// Letters a..z as capitals, in place, up to the terminating NUL.
void upper_case(char* text);

// Both upper-case `label` in place, then give a band index 0..10, or -1 with
// "Unrecognized band: ..." / "Unrecognized frequency: ..." in the message
// buffer. `listing_path` may be null.
int band_from_label(char* label, const char* listing_path, SettingsRecord& record);
int band_from_frequency(char* label, const char* listing_path, SettingsRecord& record);

}  // namespace zelk

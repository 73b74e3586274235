// A contest log in the Cabrillo format, read as a listing would be: each band
// of its QSOs a column, each grid received on it worked. VHF contest logs
// carry the grid received from each station on their QSO lines.
//
//   START-OF-LOG: 3.0
//   QSO: 144   PH 2026-06-13 1810 W1XYZ      FN31 W2DEF      FN20
#pragma once

#include <string>
#include <string_view>

#include "listing/field_reader.h"
#include "listing/listing_reader.h"

namespace zelk {

// The first line of a Cabrillo log begins so, whatever the file is called.
inline constexpr std::string_view kCabrilloStart = "START-OF-LOG:";

// Reads the log from its first line on: its bands with a map in band order,
// each grid's letter "W". `warnings` counts what was skipped (QSOs on bands
// without a map, QSO lines without a grid, lines neither header nor QSO);
// `error` says why a log gives no map (no QSO line, no QSO on a band with a
// map). A log holds no confirmations.
ListingBands read_cabrillo_log(FieldReader& reader, const std::string& path);

// The band of a QSO's frequency field: a VHF designator ("144", "1.2G") or
// kHz within an amateur band ("144200"); -1 for a band without a map.
int band_of_qso_frequency(const std::string& frequency);

}  // namespace zelk

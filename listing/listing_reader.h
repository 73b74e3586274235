// Reads a worked-grid listing for the band the record names. The listing is
// comma-separated text: a header row ("Grid" or "Prefix", then one band or
// frequency label per column), then one row per grid with a status letter in
// each band's column. Lines end in LF, CR LF or CR. As spreadsheets save it,
// it may be separated by semicolons or tabs instead, quote its fields, or be
// UTF-16 with a byte-order mark. A contest log in the Cabrillo format, whose
// first line begins "START-OF-LOG:", is read as the listing of its grids
// (cabrillo_log.h).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "record/settings_record.h"
#include "listing/grid_index.h"

namespace zelk {

// What a reading says besides its index: its message whole, of which the
// record's buffer keeps what fits, and whatever the band, the lines that
// tell of a label naming two bands and of a band that two columns name, of
// which the first is read.
enum class ListingProblem { kNone, kUnrecognizedFormat, kNoBandColumn, kNoGrids };
struct ListingNotes {
  std::string message;
  ListingProblem problem = ListingProblem::kNone;
  std::string hint;  // for an unrecognized format: what the first line shows instead of a header
  // What the header says, and the cells whose letter a person meant but the map does not read.
  std::vector<std::string> warnings;
};

// Builds the index of every data row's grid and the first letter of its cell
// in the band column. Says "Read  ... worked grids from <path>" or an error;
// the index is empty on an error and when no row named a grid for the band.
// `listing_path` is used in messages only. No more of a line is held than
// its grid and a letter.
GridIndex read_listing(std::FILE* stream, const char* listing_path, SettingsRecord& record,
                       ListingNotes* notes = nullptr);

// Every band a listing's header names, from one reading of the listing. A
// band's column is the first that names it, by either rule. One tree holds
// every grid with a letter in some column; each column keeps, by the grid's
// node, the first letter its cells give, as read_listing keeps it.
struct ListingBands {
  bool readable = false;  // the header row starts "Grid" or "Prefix"
  std::vector<int> bands;  // in band order
  std::vector<std::size_t> column_of;  // for each of `bands`, its place in `letters`
  GridIndex grids;
  std::vector<std::vector<std::int16_t>> letters;  // per column read, by node of `grids`; -1 for none
  // read_listing's warnings, and a line for each label that names no band.
  std::vector<std::string> warnings;
  std::string hint;  // as read_listing's
  std::string error;  // why a contest log gives no map; empty for a listing

  // The band's index for the page writer: read_listing's index of bands[i],
  // but holding the grids its column lacks as well, with no letter ('\0'),
  // which the map shows as it shows a grid not listed.
  GridIndex index(std::size_t i) const { return grids.with_letters(letters[column_of[i]], '\0'); }
  // False when no row has a letter in the column of bands[i].
  bool worked(std::size_t i) const;
};
ListingBands read_every_band(std::FILE* stream, const std::string& listing_path);

// The reader's own words, for every reading of a listing.
std::string read_grids_message(int grids, const std::string& listing_path);
std::string unrecognized_format_message(const std::string& listing_path);

}  // namespace zelk

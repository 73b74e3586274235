// Reads a worked-grid listing for the band the record names. The listing is
// comma-separated text: a header row ("Grid" or "Prefix", then one band or
// frequency label per column), then one row per grid with a status letter in
// each band's column. Lines end in LF, CR LF or CR.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "conversion/settings_record.h"
#include "listing/grid_index.h"

namespace zelk {

// Builds the index of every data row's grid and the first letter of its cell
// in the band column. Leaves "Read  ... worked grids from <path>" or an error
// in the message buffer; the index is empty on an error and when no row named
// a grid for the band. `listing_path` is used in messages only.
GridIndex read_listing(std::FILE* stream, const char* listing_path, SettingsRecord& record);

// What a listing's header names, by the rules read_listing finds a band's
// column with.
struct HeaderBands {
  bool readable = false;  // the header row starts "Grid" or "Prefix"
  std::vector<int> bands;  // every band a column names, in band order
  std::vector<std::pair<int, std::string>> unnamed;  // column number from 1 and label, for labels naming none
};
HeaderBands read_header_bands(std::FILE* stream);

}  // namespace zelk

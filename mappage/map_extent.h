// Which fields a map shows: its extent from the lower-left field and the
// print format's size, the farthest any map reaches, whether a grid can be on
// some map at all, and the field whose map holds the most credited grids.
// The page, its style sheet, its pictures and the totals all ask this one place.
#pragma once

#include <string_view>

#include "listing/grid_index.h"
#include "record/settings_record.h"

namespace zelk {

// Field letters run A..R; a map's own letters continue past R up to Z.
inline constexpr char kLastFieldLetter = 'R';
inline bool is_field_letter(char c) { return c >= 'A' && c <= kLastFieldLetter; }

// The fields a map of the record shows: map columns east and map rows north
// of the lower-left field, cut to end at "Z" where a map would run past it.
struct MapExtent {
  char west, south;
  int columns, rows;
  char east() const { return static_cast<char>(west + columns - 1); }
  char north() const { return static_cast<char>(south + rows - 1); }
};
MapExtent map_extent(const SettingsRecord& record);
// The map of every print format's size from the last lower-left field, RR,
// that reaches farthest east and north: no map of a print format shows a
// field past its east() and north().
MapExtent farthest_map_extent();

// True for a grid in the form the map writes its squares in, with field
// letters some map reaches: "FN42", "SA00" (a map from QA runs on past R);
// not "fn42", "FN42AB" or "ZZ00".
bool on_some_map(std::string_view grid);

// Sets the record's lower-left field to the one whose map, at the record's
// map size, holds the most credited grids of `index`. Of those maps, the one
// whose centre lies nearest (in squares, in a straight line) to the centre of
// the box around the grids it holds, so that the grids sit in the middle of
// the sheet; ties go to the westmost, then the southmost. False, the record
// unchanged, when no map holds any.
bool find_lower_left_field(const GridIndex& index, SettingsRecord& record);

}  // namespace zelk

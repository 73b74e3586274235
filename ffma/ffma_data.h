// The 488 grid squares of the contiguous USA that count for the FFMA award,
// and the outline that traces their boundary on the map.
#pragma once

namespace zelk {

inline constexpr int kFfmaSquares = 488;
// Every FFMA square lies in the fields C..F by L..N.
inline constexpr char kFfmaWest = 'C', kFfmaEast = 'F', kFfmaSouth = 'L', kFfmaNorth = 'N';

// 1 when `grid` (field letters, then the square number) names an FFMA square.
int ffma_member(const char* grid);

struct OutlineRow {
  const char* grid;
  const char* border_class;  // sides of the square the outline runs on: N, S, E, W
};
inline constexpr int kOutlineRows = 116;
extern const OutlineRow kOutlineTable[kOutlineRows];

// Border class of the first outline row naming `grid`, or "none".
const char* outline_border_class(const char* grid);

}  // namespace zelk

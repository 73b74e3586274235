// The 488 grid squares of the contiguous USA that count for the FFMA award,
// and the outline that traces their boundary on the map.
#pragma once

namespace zelk {

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

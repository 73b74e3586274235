// Stroke shapes of the field letters "A" to "R", drawn large and faint on the
// field images. Our own outlines keep the images free of font files and
// identical on every machine.
#pragma once

#include <vector>

namespace zelk {

struct StrokePoint {
  double x = 0;  // 0 (left) to 4 (right)
  double y = 0;  // 0 (baseline) to 6 (cap height), upwards
};

using Stroke = std::vector<StrokePoint>;

constexpr double kLetterWidth = 4.0;
constexpr double kLetterHeight = 6.0;

// The polylines of an upper-case field letter; empty for any other character.
std::vector<Stroke> letter_strokes(char letter);

}  // namespace zelk

#include "field_art/field_letters.h"

#include <cmath>
#include <numbers>

namespace zelk {

namespace {

// Points of an elliptic arc from angle `from` to `to` (degrees,
// counter-clockwise from the right).
Stroke arc(double cx, double cy, double rx, double ry, double from, double to, int steps = 24) {
  Stroke stroke;
  for (int i = 0; i <= steps; ++i) {
    double angle = (from + (to - from) * i / steps) * std::numbers::pi / 180.0;
    stroke.push_back({cx + rx * std::cos(angle), cy + ry * std::sin(angle)});
  }
  return stroke;
}

// A straight stem joined to an arc, as in B, D, J, P and R.
Stroke then(Stroke first, const Stroke& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

}  // namespace

std::vector<Stroke> letter_strokes(char letter) {
  switch (letter) {
    case 'A': return {{{0, 0}, {2, 6}, {4, 0}}, {{0.75, 2.2}, {3.25, 2.2}}};
    case 'B':
      return {then({{0, 3.2}, {0, 6}, {2.3, 6}}, arc(2.3, 4.6, 1.4, 1.4, 90, -90, 12)),
              then({{0, 3.2}, {0, 0}, {2.4, 0}}, arc(2.4, 1.6, 1.6, 1.6, -90, 90, 12)), {{0, 3.2}, {2.4, 3.2}}};
    case 'C': return {arc(2.2, 3, 2.2, 3, 40, 320)};
    case 'D': return {then({{1.0, 0}, {0, 0}, {0, 6}, {1.0, 6}}, arc(1.0, 3, 3, 3, 90, -90))};
    case 'E': return {{{4, 6}, {0, 6}, {0, 0}, {4, 0}}, {{0, 3.1}, {3, 3.1}}};
    case 'F': return {{{4, 6}, {0, 6}, {0, 0}}, {{0, 3.1}, {3, 3.1}}};
    case 'G': return {then(arc(2.2, 3, 2.2, 3, 40, 360), {{4.4, 3}, {2.4, 3}})};
    case 'H': return {{{0, 0}, {0, 6}}, {{4, 0}, {4, 6}}, {{0, 3.1}, {4, 3.1}}};
    case 'I': return {{{2, 0}, {2, 6}}, {{1, 6}, {3, 6}}, {{1, 0}, {3, 0}}};
    case 'J': return {then({{1.5, 6}, {4, 6}, {4, 2}}, arc(2, 2, 2, 2, 0, -180, 12))};
    case 'K': return {{{0, 0}, {0, 6}}, {{4, 6}, {0, 2}}, {{1.4, 3.4}, {4, 0}}};
    case 'L': return {{{0, 6}, {0, 0}, {4, 0}}};
    case 'M': return {{{0, 0}, {0, 6}, {2, 2.4}, {4, 6}, {4, 0}}};
    case 'N': return {{{0, 0}, {0, 6}, {4, 0}, {4, 6}}};
    case 'O': return {arc(2, 3, 2, 3, 0, 360, 32)};
    case 'P': return {then({{0, 0}, {0, 6}, {2.3, 6}}, arc(2.3, 4.4, 1.7, 1.6, 90, -90, 12)), {{2.3, 2.8}, {0, 2.8}}};
    case 'Q': return {arc(2, 3, 2, 3, 0, 360, 32), {{2.5, 1.3}, {4.2, -0.4}}};
    case 'R':
      return {then({{0, 0}, {0, 6}, {2.3, 6}}, arc(2.3, 4.4, 1.7, 1.6, 90, -90, 12)), {{2.3, 2.8}, {0, 2.8}},
              {{2.1, 2.8}, {4, 0}}};
    default: return {};
  }
}

}  // namespace zelk

#include "field_art/field_picture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

#include "field_art/field_letters.h"

namespace zelk {

namespace {

constexpr double kFieldWidthDeg = 20.0;
constexpr double kFieldHeightDeg = 10.0;
constexpr double kPxPerLon = kSquareWidthPx / 2.0;  // a square spans 2 degrees of longitude
constexpr double kPxPerLat = kSquareHeightPx;       // and 1 degree of latitude

// Letters: 6 units tall at 20 px a unit, strokes 12 px wide, ink at 8 % so
// they name the field without competing with the digits.
constexpr double kLetterUnitPx = 20.0;
constexpr double kLetterGapPx = 24.0;
constexpr double kLetterHalfStrokePx = 6.0;
constexpr double kLetterInk = 0.08;

constexpr double kLineHalfWidthPx = 0.5;

using Coverage = std::vector<float>;

struct Canvas {
  double west, south;
  int width = kFieldImageWidth, height = kFieldImageHeight;
  Coverage land, letters, state_lines, border_lines, coast_lines;
  Canvas(double w, double s)
      : west(w), south(s), land(size()), letters(size()), state_lines(size()), border_lines(size()),
        coast_lines(size()) {}
  std::size_t size() const { return static_cast<std::size_t>(width) * height; }
  PixelPoint at(const GeoPoint& p) const { return project(p, west, south); }
};

// Paths whose bounds reach the image, with a pixel of slack for line width.
bool touches(const GeoPath& path, const Canvas& canvas) {
  const double slack_lon = 2.0 / kPxPerLon, slack_lat = 2.0 / kPxPerLat;
  return path.east >= canvas.west - slack_lon && path.west <= canvas.west + kFieldWidthDeg + slack_lon &&
         path.north >= canvas.south - slack_lat && path.south <= canvas.south + kFieldHeightDeg + slack_lat;
}

// Even-odd fill at pixel centres over all rings at once: a pixel is inside
// when an odd number of ring edges cross its row to its left, so holes need
// no special case.
void fill_rings(const std::vector<GeoPath>& rings, const Canvas& canvas, Coverage& inside) {
  struct Edge {
    PixelPoint a, b;
  };
  std::vector<Edge> edges;
  for (const GeoPath& ring : rings) {
    if (!touches(ring, canvas)) continue;
    const std::size_t n = ring.points.size();
    for (std::size_t i = 0; i < n; ++i) {
      PixelPoint a = canvas.at(ring.points[i]);
      PixelPoint b = canvas.at(ring.points[(i + 1) % n]);
      if (std::max(a.y, b.y) < 0 || std::min(a.y, b.y) > canvas.height) continue;
      edges.push_back({a, b});
    }
  }
  std::vector<std::uint8_t> toggles(static_cast<std::size_t>(canvas.width) + 1);
  for (int row = 0; row < canvas.height; ++row) {
    const double y = row + 0.5;
    std::fill(toggles.begin(), toggles.end(), 0);
    for (const Edge& e : edges) {
      if ((e.a.y > y) == (e.b.y > y)) continue;
      const double x = e.a.x + (y - e.a.y) * (e.b.x - e.a.x) / (e.b.y - e.a.y);
      // Pixels whose centre lies right of the crossing change sides.
      const double first = std::floor(x - 0.5) + 1;
      toggles[static_cast<std::size_t>(std::clamp(first, 0.0, static_cast<double>(canvas.width)))] ^= 1;
    }
    std::uint8_t parity = 0;
    for (int column = 0; column < canvas.width; ++column) {
      parity ^= toggles[static_cast<std::size_t>(column)];
      if (parity) inside[static_cast<std::size_t>(row) * canvas.width + column] = 1.0f;
    }
  }
}

// Anti-aliased segment: coverage falls off with the distance from the
// pixel's centre to the segment.
void stroke_segment(PixelPoint a, PixelPoint b, double half_width, const Canvas& canvas, Coverage& layer) {
  const double reach = half_width + 1.0;
  const int left = std::max(0, static_cast<int>(std::floor(std::min(a.x, b.x) - reach)));
  const int right = std::min(canvas.width - 1, static_cast<int>(std::ceil(std::max(a.x, b.x) + reach)));
  const int top = std::max(0, static_cast<int>(std::floor(std::min(a.y, b.y) - reach)));
  const int bottom = std::min(canvas.height - 1, static_cast<int>(std::ceil(std::max(a.y, b.y) + reach)));
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length_sq = dx * dx + dy * dy;
  for (int row = top; row <= bottom; ++row) {
    for (int column = left; column <= right; ++column) {
      const double px = column + 0.5 - a.x, py = row + 0.5 - a.y;
      const double t = length_sq > 0 ? std::clamp((px * dx + py * dy) / length_sq, 0.0, 1.0) : 0.0;
      const double distance = std::hypot(px - t * dx, py - t * dy);
      const float coverage = static_cast<float>(std::clamp(half_width + 0.5 - distance, 0.0, 1.0));
      float& pixel = layer[static_cast<std::size_t>(row) * canvas.width + column];
      pixel = std::max(pixel, coverage);
    }
  }
}

// The seam of the map along the date line and the pole's edge is no coast.
bool is_frame_edge(const GeoPoint& a, const GeoPoint& b) {
  return (std::fabs(a.lon) >= 180.0 && a.lon == b.lon) || (a.lat <= -90.0 && b.lat <= -90.0);
}

void stroke_paths(const std::vector<GeoPath>& paths, bool closed, const Canvas& canvas, Coverage& layer) {
  for (const GeoPath& path : paths) {
    if (!touches(path, canvas)) continue;
    const std::size_t n = path.points.size();
    const std::size_t segments = closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) {
      const GeoPoint& a = path.points[i];
      const GeoPoint& b = path.points[(i + 1) % n];
      if (closed && is_frame_edge(a, b)) continue;
      stroke_segment(canvas.at(a), canvas.at(b), kLineHalfWidthPx, canvas, layer);
    }
  }
}

void draw_letters(char first, char second, Canvas& canvas) {
  const double total = 2 * kLetterWidth * kLetterUnitPx + kLetterGapPx;
  const double baseline = (canvas.height + kLetterHeight * kLetterUnitPx) / 2.0;
  double left = (canvas.width - total) / 2.0;
  for (char letter : {first, second}) {
    for (const Stroke& stroke : letter_strokes(letter)) {
      auto to_pixels = [&](const StrokePoint& p) {
        return PixelPoint{left + p.x * kLetterUnitPx, baseline - p.y * kLetterUnitPx};
      };
      for (std::size_t i = 0; i + 1 < stroke.size(); ++i)
        stroke_segment(to_pixels(stroke[i]), to_pixels(stroke[i + 1]), kLetterHalfStrokePx, canvas, canvas.letters);
    }
    left += kLetterWidth * kLetterUnitPx + kLetterGapPx;
  }
}

// Quarter steps of coverage keep the palette small without visible banding
// at these line widths.
double quantized(float coverage) { return std::round(coverage * 4.0) / 4.0; }

std::array<double, 3> mix(const std::array<double, 3>& under, const Rgb& ink, double amount) {
  std::array<double, 3> out{};
  for (int c = 0; c < 3; ++c) out[c] = under[c] + (ink[c] - under[c]) * amount;
  return out;
}

IndexedPicture to_indexed(const Canvas& canvas) {
  IndexedPicture picture;
  picture.width = canvas.width;
  picture.height = canvas.height;
  picture.pixels.resize(canvas.size());
  std::map<Rgb, std::uint8_t> index_of;
  for (std::size_t i = 0; i < canvas.size(); ++i) {
    const Rgb& base = canvas.land[i] > 0 ? kLandColor : kSeaColor;
    std::array<double, 3> color = {double(base[0]), double(base[1]), double(base[2])};
    color = mix(color, Rgb{0, 0, 0}, kLetterInk * quantized(canvas.letters[i]));
    color = mix(color, kStateBorderColor, quantized(canvas.state_lines[i]));
    color = mix(color, kBorderColor, quantized(canvas.border_lines[i]));
    color = mix(color, kCoastColor, quantized(canvas.coast_lines[i]));
    Rgb rgb;
    for (int c = 0; c < 3; ++c) rgb[c] = static_cast<std::uint8_t>(std::lround(color[c]));
    auto [it, added] = index_of.try_emplace(rgb, static_cast<std::uint8_t>(picture.palette.size()));
    if (added) {
      if (picture.palette.size() == 256) throw std::runtime_error("field picture needs more than 256 colours");
      picture.palette.push_back(rgb);
    }
    picture.pixels[i] = it->second;
  }
  return picture;
}

}  // namespace

PixelPoint project(const GeoPoint& point, double west, double south) {
  return {kFieldFramePx + (point.lon - west) * kPxPerLon,
          kFieldFramePx + (south + kFieldHeightDeg - point.lat) * kPxPerLat};
}

double field_west(char longitude_letter) { return -180.0 + kFieldWidthDeg * (longitude_letter - 'A'); }
double field_south(char latitude_letter) { return -90.0 + kFieldHeightDeg * (latitude_letter - 'A'); }

PixelRect square_pixels(int column_digit, int row_digit) {
  const int left = kFieldFramePx + column_digit * kSquareWidthPx;
  const int top = kFieldFramePx + (9 - row_digit) * kSquareHeightPx;
  return {left, top, left + kSquareWidthPx, top + kSquareHeightPx};
}

IndexedPicture draw_field(const Geography& geography, char longitude_letter, char latitude_letter,
                          bool with_letters) {
  Canvas canvas(field_west(longitude_letter), field_south(latitude_letter));
  fill_rings(geography.land, canvas, canvas.land);
  Coverage lakes(canvas.size());
  fill_rings(geography.lakes, canvas, lakes);
  for (std::size_t i = 0; i < canvas.size(); ++i)
    if (lakes[i] > 0) canvas.land[i] = 0;
  if (with_letters) draw_letters(longitude_letter, latitude_letter, canvas);
  stroke_paths(geography.state_borders, false, canvas, canvas.state_lines);
  stroke_paths(geography.borders, false, canvas, canvas.border_lines);
  stroke_paths(geography.land, true, canvas, canvas.coast_lines);
  stroke_paths(geography.lakes, true, canvas, canvas.coast_lines);
  return to_indexed(canvas);
}

IndexedPicture draw_plain_field() { return to_indexed(Canvas(0, 0)); }

}  // namespace zelk

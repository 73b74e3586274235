// Draws the picture behind one field of the map page: land, sea and lakes,
// coastlines and lake shores, country and US state borders, and the field's two letters.
//
// The projection is the grid's own: inside a field, longitude and latitude
// map linearly to x and y, so each square's geography lies behind its cell.
// Sizes follow the field table as browsers lay out the page (measured in
// headless Chromium, see tests/field_art): a square's cell is 24 px wide (20 px
// + 1 px padding on each side + the collapsed 2 px border) and 22 px high,
// and the field's table is 242 x 222 px, the cells' outer half borders
// included. The page centres the image on the table, so the two coincide.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "field_art/field_geography.h"

namespace zelk {

constexpr int kSquareWidthPx = 24;
constexpr int kSquareHeightPx = 22;
constexpr int kFieldFramePx = 1;  // half of the collapsed border around the table
constexpr int kFieldImageWidth = 10 * kSquareWidthPx + 2 * kFieldFramePx;
constexpr int kFieldImageHeight = 10 * kSquareHeightPx + 2 * kFieldFramePx;

// Position in image pixels (pixel (i, j) covers x in [i, i+1), y in [j, j+1)).
struct PixelPoint {
  double x = 0;
  double y = 0;
};

// Where a point falls on the image of the field whose south-west corner is
// (west, south) degrees.
PixelPoint project(const GeoPoint& point, double west, double south);

// West and south edges of a field in degrees, from its letters "A" to "R".
double field_west(char longitude_letter);
double field_south(char latitude_letter);

// Pixels of square (column digit, row digit) of a field: [left, right) x [top, bottom).
struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
PixelRect square_pixels(int column_digit, int row_digit);

using Rgb = std::array<std::uint8_t, 3>;

// An image with a palette of at most 256 colours, pixels row by row.
struct IndexedPicture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> palette;
  std::vector<std::uint8_t> pixels;
  Rgb at(int x, int y) const { return palette[pixels[static_cast<std::size_t>(y) * width + x]]; }
};

// The colours, light enough for the page's digits to stay readable on top,
// and distinct in grey when printed in black and white.
constexpr Rgb kSeaColor = {255, 255, 255};
constexpr Rgb kLandColor = {240, 236, 221};
constexpr Rgb kCoastColor = {143, 163, 181};
constexpr Rgb kBorderColor = {150, 150, 150};
constexpr Rgb kStateBorderColor = {190, 190, 190};

// The field with letters "A".."R" each (longitude letter first); without its
// two letters on request, so that tests can tell land, sea and lines apart.
IndexedPicture draw_field(const Geography& geography, char longitude_letter, char latitude_letter,
                          bool with_letters = true);

// The picture for fields past "R", which are no place on earth: plain sea.
IndexedPicture draw_plain_field();

}  // namespace zelk

// The geography drawn behind the fields of the map page: land rings, lake
// rings, country and state borders in degrees, read from the compact text
// file that tools/geo/reduce.mjs makes (res/geo/field_geography.txt).
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace zelk {

struct GeoPoint {
  double lon = 0;
  double lat = 0;
};

// A ring (closed by its first point) or an open line, with its bounds.
struct GeoPath {
  std::vector<GeoPoint> points;
  double west = 0, east = 0, south = 0, north = 0;
};

struct Geography {
  std::vector<GeoPath> land;           // rings; a point is land inside an odd number of them
  std::vector<GeoPath> lakes;          // rings cut out of the land the same way
  std::vector<GeoPath> borders;        // country borders
  std::vector<GeoPath> state_borders;  // borders between US states
};

// Reads the file's records (lines "KIND COUNT LON LAT DLON DLAT ...", in
// 1/100 degree, '#' lines ignored). False with `error` naming the line on any
// malformed record, so a damaged file never yields half a map.
bool read_geography(std::istream& in, Geography& geography, std::string& error);

}  // namespace zelk

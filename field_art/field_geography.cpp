#include "field_art/field_geography.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace zelk {

namespace {

constexpr double kUnitsPerDegree = 100.0;

// Next whitespace-separated integer of `text` from `pos`; false at the end or
// on anything that is not a whole number.
bool next_number(std::string_view text, std::size_t& pos, long& value) {
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r')) ++pos;
  if (pos >= text.size()) return false;
  auto [end, ec] = std::from_chars(text.data() + pos, text.data() + text.size(), value);
  if (ec != std::errc()) return false;
  pos = static_cast<std::size_t>(end - text.data());
  return pos >= text.size() || text[pos] == ' ' || text[pos] == '\t' || text[pos] == '\r';
}

std::vector<GeoPath>* list_of(Geography& geography, char kind) {
  switch (kind) {
    case 'L': return &geography.land;
    case 'W': return &geography.lakes;
    case 'B': return &geography.borders;
    case 'S': return &geography.state_borders;
    default: return nullptr;
  }
}

// Parses one record after its kind letter; empty on success, else the problem.
std::string parse_path(std::string_view text, GeoPath& path) {
  std::size_t pos = 1;
  long count = 0;
  if (!next_number(text, pos, count) || count < 2) return "bad point count";
  if (count > static_cast<long>(text.size())) return "point count larger than the record";
  path.points.reserve(static_cast<std::size_t>(count));
  long lon = 0, lat = 0;
  for (long i = 0; i < count; ++i) {
    long dlon = 0, dlat = 0;
    if (!next_number(text, pos, dlon) || !next_number(text, pos, dlat)) return "too few coordinates";
    lon += dlon;
    lat += dlat;
    if (lon < -18000 || lon > 18000 || lat < -9000 || lat > 9000) return "point off the globe";
    path.points.push_back({lon / kUnitsPerDegree, lat / kUnitsPerDegree});
  }
  long extra = 0;
  if (next_number(text, pos, extra) || pos < text.size()) return "more coordinates than the count";
  auto [west, east] = std::minmax_element(path.points.begin(), path.points.end(),
                                          [](const GeoPoint& a, const GeoPoint& b) { return a.lon < b.lon; });
  auto [south, north] = std::minmax_element(path.points.begin(), path.points.end(),
                                            [](const GeoPoint& a, const GeoPoint& b) { return a.lat < b.lat; });
  path.west = west->lon;
  path.east = east->lon;
  path.south = south->lat;
  path.north = north->lat;
  return std::string();
}

}  // namespace

bool read_geography(std::istream& in, Geography& geography, std::string& error) {
  geography = Geography();
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<GeoPath>* list = list_of(geography, line[0]);
    std::string problem;
    GeoPath path;
    if (list == nullptr || line.size() < 2 || line[1] != ' ') problem = "unknown record kind";
    else problem = parse_path(line, path);
    if (!problem.empty()) {
      error = "line " + std::to_string(number) + ": " + problem;
      geography = Geography();
      return false;
    }
    list->push_back(std::move(path));
  }
  if (geography.land.empty()) {
    error = "no land in the file";
    geography = Geography();
    return false;
  }
  return true;
}

}  // namespace zelk

#include "listing/cabrillo_log.h"

#include <charconv>
#include <cstdint>
#include <sstream>
#include <utility>
#include <vector>

#include "listing/band_table.h"

namespace zelk {

namespace {

// A QSO line is short; a longer line is read by its first bytes.
constexpr std::size_t kLineBytes = 512;
// How many bands without a map the warning names; the rest are counted.
constexpr std::size_t kNamedBands = 8;

std::string upper_cased(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return text;
}

// A Maidenhead locator: two letters A..R, two digits, and perhaps two letters more.
bool is_locator(const std::string& token) {
  const std::string text = upper_cased(token);
  auto field = [&](std::size_t i) { return text[i] >= 'A' && text[i] <= 'R'; };
  auto digit = [&](std::size_t i) { return text[i] >= '0' && text[i] <= '9'; };
  auto sub = [&](std::size_t i) { return text[i] >= 'A' && text[i] <= 'X'; };
  return (text.size() == 4 || (text.size() == 6 && sub(4) && sub(5))) && field(0) && field(1) && digit(2) &&
         digit(3);
}

// "TAG:" or "TAG: value", as every header line of a log is written.
bool is_header(const std::string& token) {
  return token.size() > 1 && token.back() == ':' &&
         token.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-") == token.size() - 1;
}

std::string counted(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

int band_of_qso_frequency(const std::string& frequency) {
  static constexpr std::pair<std::string_view, int> kDesignators[] = {
      {"50", 0}, {"144", 1}, {"222", 2}, {"432", 3}, {"902", 4}, {"1.2G", 5}, {"2.3G", 6}, {"3.4G", 7}, {"5.7G", 8},
      {"10G", 9}};
  const std::string text = upper_cased(frequency);
  for (const auto& [designator, band] : kDesignators)
    if (text == designator) return band;
  // Otherwise kHz, within the amateur band's edges.
  static constexpr struct {
    int band;
    long low, high;
  } kEdges[] = {{0, 50000, 54000},       {1, 144000, 148000},     {2, 222000, 225000},   {3, 420000, 450000},
                {4, 902000, 928000},     {5, 1240000, 1300000},   {6, 2300000, 2450000}, {7, 3300000, 3500000},
                {8, 5650000, 5925000},   {9, 10000000, 10500000}};
  long khz = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), khz);
  if (error != std::errc() || end != text.data() + text.size()) return -1;
  for (const auto& edges : kEdges)
    if (khz >= edges.low && khz <= edges.high) return edges.band;
  return -1;
}

ListingBands read_cabrillo_log(FieldReader& reader, const std::string& path) {
  ListingBands log;
  log.readable = true;
  std::vector<std::vector<std::int16_t>> letters(kBandCount, std::vector<std::int16_t>(1, -1));
  std::vector<std::pair<std::string, int>> unmapped;  // bands without a map, as written, with their QSOs
  int qso_lines = 0, unmapped_qsos = 0, without_grid = 0, other_lines = 0;
  std::string line;
  do {
    reader.rest_of_line(line, kLineBytes);
    std::istringstream words(line);
    std::vector<std::string> tokens;
    for (std::string token; words >> token;) tokens.push_back(token);
    if (tokens.empty()) continue;
    if (tokens[0] != "QSO:") {
      other_lines += !is_header(tokens[0]);
      continue;
    }
    ++qso_lines;
    const int band = tokens.size() > 1 ? band_of_qso_frequency(tokens[1]) : -1;
    if (tokens.size() > 1 && band < 0) {
      ++unmapped_qsos;
      auto named = std::find_if(unmapped.begin(), unmapped.end(), [&](const auto& each) { return each.first == tokens[1]; });
      if (named != unmapped.end()) ++named->second;
      else if (unmapped.size() < kNamedBands) unmapped.emplace_back(tokens[1], 1);
      continue;
    }
    // After frequency, mode, date and time: the sent exchange, then the
    // received one, of as many fields each, and perhaps a transmitter's digit.
    std::vector<std::string> exchange(tokens.begin() + std::min<std::size_t>(tokens.size(), 5), tokens.end());
    if (exchange.size() % 2 == 1 && exchange.back().size() == 1 && exchange.back()[0] >= '0' && exchange.back()[0] <= '9')
      exchange.pop_back();
    const auto received = exchange.begin() + static_cast<std::ptrdiff_t>(exchange.size() / 2);
    // The received call comes first: the locator after it.
    const auto locator = exchange.size() % 2 == 0 && exchange.size() >= 4
                             ? std::find_if(received + 1, exchange.end(), is_locator)
                             : exchange.end();
    if (band < 0 || locator == exchange.end()) {
      ++without_grid;
      continue;
    }
    const GridIndex::Node node = log.grids.insert(upper_cased(locator->substr(0, 4)), '\0');
    if (node >= letters[band].size())
      for (std::vector<std::int16_t>& each : letters) each.resize(2 * node, -1);
    letters[band][node] = 'W';
  } while (reader.next_line());

  for (int band = 0; band < kBandCount; ++band) {
    if (std::none_of(letters[band].begin(), letters[band].end(), [](std::int16_t letter) { return letter >= 0; }))
      continue;
    log.bands.push_back(band);
    log.column_of.push_back(log.letters.size());
    log.letters.push_back(std::move(letters[band]));
  }
  std::vector<std::string> skipped;
  if (unmapped_qsos > 0) {
    std::string bands;
    int named = 0;
    for (const auto& [frequency, qsos] : unmapped) {
      bands += (bands.empty() ? "" : ", ") + frequency + " " + std::to_string(qsos);
      named += qsos;
    }
    if (named < unmapped_qsos) bands += ", others " + std::to_string(unmapped_qsos - named);
    skipped.push_back(counted(unmapped_qsos, "QSO on a band without a map", "QSOs on bands without a map") + " (" +
                      bands + ")");
  }
  if (without_grid > 0) skipped.push_back(counted(without_grid, "QSO line without a grid", "QSO lines without a grid"));
  if (other_lines > 0) skipped.push_back(counted(other_lines, "line neither header nor QSO", "lines neither header nor QSO"));
  for (std::size_t i = 0; i < skipped.size(); ++i)
    (i == 0 ? log.warnings.emplace_back("WARNING: " + path + ": ") : log.warnings.back()) += (i == 0 ? "" : "; ") + skipped[i];
  if (qso_lines == 0) log.error = "ERROR: No QSO line in " + path;
  else if (log.bands.empty()) log.error = "ERROR: No QSO of " + path + " is on a band with a map";
  return log;
}

}  // namespace zelk

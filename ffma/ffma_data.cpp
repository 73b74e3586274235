#include "ffma/ffma_data.h"

#include <cstdlib>

namespace zelk {

namespace {

struct NumberRange {
  int first;
  int last;
};

struct FfmaField {
  char letters[3];
  NumberRange ranges[10];  // unused entries are {-1, -1}
};

constexpr NumberRange kNone{-1, -1};

// EM lies wholly inside the award area and is handled before this table.
constexpr FfmaField kFields[] = {
    {"CM", {{79, 79}, {86, 89}, {93, 99}, kNone, kNone, kNone, kNone, kNone, kNone, kNone}},
    {"CN", {{70, 78}, {80, 88}, {90, 98}, kNone, kNone, kNone, kNone, kNone, kNone, kNone}},
    {"DL", {{79, 79}, {88, 89}, {98, 99}, kNone, kNone, kNone, kNone, kNone, kNone, kNone}},
    {"DM", {{2, 9}, {12, 19}, {22, 29}, {31, 39}, {41, 49}, {51, 59}, {61, 99}, kNone, kNone, kNone}},
    {"DN", {{0, 8}, {10, 18}, {20, 28}, {30, 38}, {40, 48}, {50, 58}, {60, 68}, {70, 78}, {80, 88}, {90, 98}}},
    {"EL", {{6, 9}, {15, 19}, {28, 29}, {39, 39}, {49, 49}, {58, 59}, {79, 79}, {84, 84}, {86, 89}, {94, 99}}},
    {"EN", {{0, 8}, {10, 18}, {20, 38}, {40, 48}, {50, 58}, {60, 67}, {70, 76}, {80, 86}, {90, 92}, kNone}},
    {"FM", {{2, 9}, {13, 19}, {25, 29}, kNone, kNone, kNone, kNone, kNone, kNone, kNone}},
    {"FN", {{0, 3}, {10, 14}, {20, 25}, {30, 35}, {41, 46}, {51, 51}, {53, 57}, {64, 67}, kNone, kNone}},
};

// The number after the field letters, read as strtol reads a leading integer;
// values beyond int lie outside every range anyway.
long square_number(const char* digits) { return std::strtol(digits, nullptr, 10); }

}  // namespace

constexpr OutlineRow kOutlineTable[kOutlineRows] = {
    {"CN99", "S"},  {"CN89", "S"},  {"CN79", "S"},  {"CN68", "E"},  {"CN67", "E"},  {"CN66", "E"},
    {"CN65", "E"},  {"CN64", "E"},  {"CN63", "E"},  {"CN62", "E"},  {"CN61", "E"},  {"CN60", "E"},
    {"CM69", "E"},  {"CM79", "S"},  {"CM78", "E"},  {"CM77", "E"},  {"CM76", "E"},  {"CM86", "S"},
    {"CM85", "E"},  {"CM84", "E"},  {"CM83", "E"},  {"CM93", "S"},  {"DM02", "SW"}, {"DM12", "S"},
    {"DM21", "E"},  {"DM22", "S"},  {"DM31", "S"},  {"DM41", "S"},  {"DM51", "S"},  {"DM60", "E"},
    {"DM61", "S"},  {"DL69", "E"},  {"DL78", "E"},  {"DL79", "S"},  {"DL88", "S"},  {"DL98", "S"},
    {"EL07", "W"},  {"EL06", "SW"}, {"EL05", "E"},  {"EL15", "SE"}, {"EL16", "E"},  {"EL17", "E"},
    {"EL28", "SE"}, {"EL39", "S"},  {"EL48", "E"},  {"EL49", "S"},  {"EL58", "SE"}, {"EL59", "E"},
    {"EL69", "NE"}, {"EL79", "S"},  {"EL78", "E"},  {"EL77", "E"},  {"EL76", "E"},  {"EL86", "S"},
    {"EL85", "SE"}, {"EL74", "E"},  {"EL84", "S"},  {"EL94", "SE"}, {"EL95", "E"},  {"EL96", "E"},
    {"EL97", "E"},  {"EL98", "E"},  {"EL99", "E"},  {"EM90", "E"},  {"EM91", "E"},  {"FM02", "SE"},
    {"FM13", "SE"}, {"FM14", "E"},  {"FM25", "SE"}, {"FM26", "E"},  {"FM27", "E"},  {"FM28", "E"},
    {"FM29", "E"},  {"FN30", "SE"}, {"FN41", "S"},  {"FN51", "SE"}, {"FN52", "S"},  {"FN42", "E"},
    {"FN53", "SE"}, {"FN64", "SE"}, {"FN65", "E"},  {"FN66", "E"},  {"FN67", "E"},  {"FN68", "S"},
    {"FN58", "S"},  {"FN47", "SE"}, {"FN36", "SE"}, {"FN26", "S"},  {"FN15", "SE"}, {"FN04", "SE"},
    {"EN93", "SE"}, {"EN83", "E"},  {"EN84", "E"},  {"EN85", "E"},  {"EN86", "E"},  {"EN87", "S"},
    {"EN77", "S"},  {"EN67", "NE"}, {"EN68", "S"},  {"EN58", "E"},  {"EN59", "S"},  {"EN49", "S"},
    {"EN39", "S"},  {"EN29", "NE"}, {"EN19", "SE"}, {"EN09", "S"},  {"DN99", "S"},  {"DN89", "S"},
    {"DN79", "S"},  {"DN69", "S"},  {"DN59", "S"},  {"DN49", "S"},  {"DN39", "S"},  {"DN29", "S"},
    {"DN19", "S"},  {"DN09", "S"},
};

int ffma_member(const char* grid) {
  if (grid[0] < 'C' || grid[0] > 'F' || grid[1] == '\0') return 0;
  if (grid[0] == 'E' && grid[1] == 'M') return 1;
  long number = square_number(grid + 2);
  for (const FfmaField& field : kFields) {
    if (field.letters[0] != grid[0] || field.letters[1] != grid[1]) continue;
    for (const NumberRange& range : field.ranges)
      if (number >= range.first && number <= range.last && range.first >= 0) return 1;
    return 0;
  }
  return 0;
}

namespace {

// Every row names a square of the fields C..F by L..N, so those 1,200
// squares, numbered field by field, map to their first row (counted from 1;
// 0 for none): the page writer asks for every square it draws.
constexpr int kOutlineSquares = 4 * 3 * 100;

constexpr int outline_square(const char* grid) {
  if (grid[0] < 'C' || grid[0] > 'F' || grid[1] < 'L' || grid[1] > 'N' || grid[2] < '0' || grid[2] > '9' ||
      grid[3] < '0' || grid[3] > '9' || grid[4] != '\0')
    return -1;
  return ((grid[0] - 'C') * 3 + (grid[1] - 'L')) * 100 + (grid[2] - '0') * 10 + (grid[3] - '0');
}

struct OutlineRowBySquare {
  unsigned char row[kOutlineSquares] = {};
};

constexpr OutlineRowBySquare make_outline_rows() {
  OutlineRowBySquare rows;
  for (int i = kOutlineRows - 1; i >= 0; --i) rows.row[outline_square(kOutlineTable[i].grid)] = static_cast<unsigned char>(i + 1);
  return rows;
}

constexpr OutlineRowBySquare kOutlineRowBySquare = make_outline_rows();

}  // namespace

const char* outline_border_class(const char* grid) {
  const int square = outline_square(grid);
  const int row = square < 0 ? 0 : kOutlineRowBySquare.row[square];
  return row == 0 ? "none" : kOutlineTable[row - 1].border_class;
}

}  // namespace zelk

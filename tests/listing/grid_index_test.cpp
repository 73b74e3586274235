// The grid status index: an AA tree keyed by grid texts compared as unsigned bytes.
#include "listing/grid_index.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/listing/aa_tree_check.h"

namespace zelk {
namespace {

// "(left key:level right)" in order, for comparing shapes.
std::string shape(const IndexNode* t) {
  if (t == nullptr) return "-";
  return "(" + shape(t->left) + " " + t->key + ":" + std::to_string(t->level) + " " + shape(t->right) + ")";
}

TEST(GridIndex, ThreeKeysBalanceTheSameWayFromEitherEnd) {
  const std::string expected = "((- FN01:0 -) FN02:1 (- FN03:0 -))";
  GridIndex ascending, descending;
  for (const char* key : {"FN01", "FN02", "FN03"}) ascending.insert(key, 'C');
  for (const char* key : {"FN03", "FN02", "FN01"}) descending.insert(key, 'C');
  EXPECT_EQ(shape(ascending.root()), expected);
  EXPECT_EQ(shape(descending.root()), expected);
}

TEST(GridIndex, KeysAreWholeTextsComparedAsUnsignedBytes) {
  GridIndex index;
  EXPECT_EQ(index.find("FN42"), nullptr);
  for (auto [key, letter] : {std::pair{"FN42", 'C'}, {"FN42ab", 'W'}, {"fn42", 'L'}, {" FN42", 'M'}, {"\xC9N42", 'S'}})
    index.insert(key, letter);
  const std::string before = shape(index.root());
  index.insert("FN42", 'W');  // the first letter stays and nothing moves
  EXPECT_EQ(shape(index.root()), before);
  std::string found;
  for (const char* key : {"FN42", "FN42ab", "fn42", " FN42", "\xC9N42", "FN4", "FN42a"})
    found += index.find(key) != nullptr ? index.find(key)->status_letter : '-';
  EXPECT_EQ(found, "CWLMS--");
  std::vector<std::string> keys;
  EXPECT_EQ(aa_tree_fault(index.root(), keys), "");
  EXPECT_EQ(keys, (std::vector<std::string>{" FN42", "FN42", "FN42ab", "fn42", "\xC9N42"}));
}

TEST(GridIndex, ManyInsertionOrdersKeepTheTreeBalancedAndSorted) {
  std::vector<std::string> grids;
  for (char field : {'E', 'F'})
    for (int number = 0; number < 100; ++number)
      grids.push_back(std::string{field, 'N'} + char('0' + number / 10) + char('0' + number % 10));
  std::mt19937 random(20261205);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> order(grids.begin(), grids.begin() + 1 + round % grids.size());
    std::shuffle(order.begin(), order.end(), random);
    order.push_back(order.front());  // a key met again changes nothing
    GridIndex index;
    for (const std::string& grid : order) index.insert(grid.c_str(), 'W');
    std::vector<std::string> keys;
    ASSERT_EQ(aa_tree_fault(index.root(), keys), "") << "round " << round << ": " << shape(index.root());
    std::vector<std::string> sorted(order.begin(), order.end() - 1);
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(keys, sorted) << "round " << round;
  }
}

}  // namespace
}  // namespace zelk

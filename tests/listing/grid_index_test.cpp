// The grid status index: an AA tree keyed by grid texts compared as unsigned bytes.
#include "listing/grid_index.h"

#include <algorithm>
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
  return "(" + shape(t->left) + " " + t->key() + ":" + std::to_string(t->level) + " " + shape(t->right) + ")";
}

TEST(GridIndex, ThreeKeysBalanceTheSameWayFromEitherEnd) {
  for (auto keys : {std::vector<const char*>{"FN01", "FN02", "FN03"}, {"FN03", "FN02", "FN01"}}) {
    GridIndex index;
    for (const char* key : keys) index.insert(key, 'C');
    EXPECT_EQ(shape(index.root()), "((- FN01:0 -) FN02:1 (- FN03:0 -))");
  }
}

// Keys of eight bytes and more, and keys longer than the index's blocks.
TEST(GridIndex, KeysAreWholeTextsComparedAsUnsignedBytes) {
  const std::string f(20000, 'F'), g(20000, 'G');
  GridIndex index;
  EXPECT_EQ(index.find("FN42"), nullptr);
  for (auto [key, letter] : {std::pair{f.c_str(), 'N'}, {"FN42", 'C'}, {"FN42ab", 'W'}, {"fn42", 'L'}, {" FN42", 'M'},
                             {"\xC9N42", 'S'}, {"FN42abcdefgh", '*'}, {g.c_str(), 'X'}})
    index.insert(key, letter);
  index.insert("FN42", 'W');  // the first letter stays
  std::string found;
  const std::string looked_for[] = {"FN42", "FN42ab", "fn42", " FN42", "\xC9N42", "FN42abcdefgh", f, g, "FN4",
                                    "FN42a", "FN42abcdefgi", "FN42abcdefg", f + "F"};
  for (const std::string& key : looked_for)
    found += index.find(key.c_str()) != nullptr ? index.find(key.c_str())->status_letter : '-';
  EXPECT_EQ(found, "CWLMS*NX-----");
  std::vector<std::string> keys;
  EXPECT_EQ(aa_tree_fault(index.root(), keys), "");
  EXPECT_EQ(keys, (std::vector<std::string>{" FN42", f, "FN42", "FN42ab", "FN42abcdefgh", g, "fn42", "\xC9N42"}));
}

TEST(GridIndex, ManyInsertionOrdersKeepTheTreeBalancedAndSorted) {
  std::vector<std::string> grids;
  for (int number = 100; number < 300; ++number) grids.push_back("FN" + std::to_string(number));
  std::mt19937 random(20261205);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> order(grids.begin(), grids.begin() + 1 + round);
    std::shuffle(order.begin(), order.end(), random);
    GridIndex index;
    for (const std::string& grid : order) index.insert(grid.c_str(), 'W');
    std::vector<std::string> keys;
    ASSERT_EQ(aa_tree_fault(index.root(), keys), "") << "round " << round << ": " << shape(index.root());
    std::sort(order.begin(), order.end());
    ASSERT_EQ(keys, order) << "round " << round;
  }
}

}  // namespace
}  // namespace zelk

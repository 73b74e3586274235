// The AA tree's rules, for the index's test and its fuzzer.
#pragma once

#include <string>
#include <vector>

#include "listing/grid_index.h"

namespace zelk {

// The first broken rule under t, "" when all hold; appends the keys in order.
inline std::string aa_tree_fault(const GridIndex& index, GridIndex::Node t, std::vector<std::string>& keys) {
  if (t == GridIndex::kNone) return "";
  const GridIndex::Node right = index.right(t);
  const int level = index.level(t);
  if (index.level(index.left(t)) != level - 1 || (index.level(right) != level && index.level(right) != level - 1) ||
      index.level(index.right(right)) >= level)
    return "levels at " + index.key(t);
  std::string fault = aa_tree_fault(index, index.left(t), keys);
  keys.push_back(index.key(t));
  return fault.empty() ? aa_tree_fault(index, right, keys) : fault;
}

inline std::string aa_tree_fault(const GridIndex& index, std::vector<std::string>& keys) {
  return aa_tree_fault(index, index.root(), keys);
}

}  // namespace zelk

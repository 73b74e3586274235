// The AA tree's rules, for the index's test and its fuzzer.
#pragma once

#include <string>
#include <vector>

#include "listing/grid_index.h"

namespace zelk {

// The first broken rule under t, "" when all hold; appends the keys in order.
inline std::string aa_tree_fault(const IndexNode* t, std::vector<std::string>& keys) {
  if (t == nullptr) return "";
  const int left = t->left != nullptr ? t->left->level : -1;
  const int right = t->right != nullptr ? t->right->level : -1;
  const int right_right = t->right != nullptr && t->right->right != nullptr ? t->right->right->level : -1;
  if (left != t->level - 1 || (right != t->level && right != t->level - 1) || right_right >= t->level)
    return std::string("levels at ") + t->key();
  std::string fault = aa_tree_fault(t->left, keys);
  keys.push_back(t->key());
  return fault.empty() ? aa_tree_fault(t->right, keys) : fault;
}

}  // namespace zelk

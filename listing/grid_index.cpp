#include "listing/grid_index.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace zelk {

namespace {

// Byte order as unsigned values, as memcmp gives it; inline, since grids are
// a few bytes long and a library call costs more than the comparison.
int compare(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i)
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
  return (a.size() > b.size()) - (a.size() < b.size());
}

}  // namespace

GridIndex::Node GridIndex::skew(Node t) {
  const Node l = left(t);
  if (level(l) != level(t)) return t;
  nodes_[t].child[0] = right(l);
  nodes_[l].child[1] = t;
  return l;
}

GridIndex::Node GridIndex::split(Node t) {
  const Node r = right(t);
  if (level(r) != level(t) || level(right(r)) != level(t)) return t;
  nodes_[t].child[1] = left(r);
  nodes_[r].child[0] = t;
  ++nodes_[r].level;
  return r;
}

GridIndex::Node GridIndex::new_node(std::string_view key, char status_letter) {
  constexpr std::size_t kMax = std::numeric_limits<std::uint32_t>::max();
  if (nodes_.size() >= kMax || key.size() > kMax - long_keys_.size()) throw std::bad_alloc();
  Slot slot;
  slot.key_length = static_cast<std::uint32_t>(key.size());
  if (key.size() <= kShortKey) {
    std::memcpy(slot.short_key, key.data(), key.size());
  } else {
    slot.long_key_at = static_cast<std::uint32_t>(long_keys_.size());
    long_keys_.append(key);
  }
  slot.level = 1;
  slot.status_letter = status_letter;
  nodes_.push_back(slot);
  return static_cast<Node>(nodes_.size() - 1);
}

// Gives the subtree's new root; the key is not in it. Below t only the side
// the walk took has changed, and t's level has not: after a step right t
// cannot need a skew, and after a step left it needs a split only once a
// skew has turned it. So the nodes beside the walk's path are not read.
GridIndex::Node GridIndex::insert(Node t, std::string_view key, char status_letter) {
  if (t == kNone) return new_node(key, status_letter);
  const bool side = compare(key, key_of(t)) > 0;
  const Node child = insert(nodes_[t].child[side], key, status_letter);
  nodes_[t].child[side] = child;
  if (side) return split(t);
  const Node skewed = skew(t);
  return skewed == t ? t : split(skewed);
}

// Most rows of a listing that repeats its grids find theirs, and a search
// costs less than an insertion's walk back up.
void GridIndex::insert(std::string_view key, char status_letter) {
  if (!find(key)) root_ = insert(root_, key, status_letter);
}

std::optional<char> GridIndex::find(std::string_view key) const {
  for (Node t = root_; t != kNone;) {
    const int order = compare(key, key_of(t));
    if (order == 0) return status_letter(t);
    t = nodes_[t].child[order > 0];
  }
  return std::nullopt;
}

}  // namespace zelk

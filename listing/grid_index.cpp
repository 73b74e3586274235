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

// One walk down, which also finds a repeat, then the textbook's skew and split
// on the way back up. A split reads two levels down, so once two nodes in a
// row come back unturned nothing above them can change.
GridIndex::Node GridIndex::insert(std::string_view key, char status_letter) {
  Node path[64];  // an AA tree of 2^32 nodes is at most 64 nodes deep
  bool went_right[64];
  int depth = 0;
  for (Node t = root_; t != kNone; ++depth) {
    const int order = compare(key, key_of(t));
    if (order == 0) return t;
    path[depth] = t;
    went_right[depth] = order > 0;
    t = nodes_[t].child[order > 0];
  }
  const Node made = new_node(key, status_letter);
  Node child = made;
  int unturned = 0;
  while (depth-- > 0) {
    const Node t = path[depth];
    nodes_[t].child[went_right[depth]] = child;
    // After a step right t needs no skew; after a step left, a split only once skewed.
    const Node skewed = went_right[depth] ? t : skew(t);
    child = went_right[depth] || skewed != t ? split(skewed) : t;
    unturned = skewed == t && child == t ? unturned + 1 : 0;
    if (unturned == 2) return made;
  }
  root_ = child;
  return made;
}

GridIndex GridIndex::with_letters(const std::vector<std::int16_t>& letters, char absent) const {
  GridIndex index = *this;
  for (Node t = 1; t < nodes_.size(); ++t)
    index.nodes_[t].status_letter = t < letters.size() && letters[t] >= 0 ? static_cast<char>(letters[t]) : absent;
  return index;
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

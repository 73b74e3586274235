#include "listing/grid_index.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace zelk {

namespace {

// Enough for a small listing in one go; a world listing doubles it six times.
constexpr std::size_t kFirstCapacity = 1024;

// Below this many grids a walk is ten levels or so, mostly in the first-level
// cache, and a table of repeats would not pay for itself.
constexpr std::size_t kFewGrids = 1024;

}  // namespace

// A text looked for or inserted, prepared once for the walk: grids are a few
// bytes long, so the head word nearly always decides, by one load and one
// comparison per node.
struct GridIndex::SearchKey {
  SearchKey() = default;
  SearchKey(const char* key, std::size_t key_length) : text(key), length(key_length) {
    for (std::size_t i = 0; i < kHeadBytes; ++i)
      head = head << 8 | (i < length ? static_cast<unsigned char>(key[i]) : 0u);
    head <<= 16;
  }
  bool is_long() const { return length > kHeadBytes; }

  const char* text = nullptr;
  std::size_t length = 0;
  std::uint64_t head = 0;  // as a node's word stores it, without letter or level
};

// Called when the heads are equal: then only a long key's tail can differ,
// and a key that ends there comes before every longer one.
int GridIndex::compare(const SearchKey& search, Node t) const {
  const bool stored_long = (slots_[t].word & kLongKey) != 0;
  if (!search.is_long() || !stored_long) return search.is_long() - stored_long;
  const auto* stored = reinterpret_cast<const unsigned char*>(slots_ + t + 1);
  const auto* text = reinterpret_cast<const unsigned char*>(search.text) + kHeadBytes;
  for (std::size_t i = 0; i < search.length - kHeadBytes; ++i)
    if (text[i] != stored[i]) return text[i] < stored[i] ? -1 : 1;
  return stored[search.length - kHeadBytes] == 0 ? 0 : -1;
}

GridIndex::Node GridIndex::new_node(const SearchKey& search, char status_letter) {
  const std::size_t tail = search.is_long() ? search.length - kHeadBytes + 1 : 0;
  const std::size_t need = 1 + (tail + sizeof(Slot) - 1) / sizeof(Slot);
  constexpr std::size_t kMaxSlots =
      std::min<std::size_t>(std::numeric_limits<Node>::max(), std::numeric_limits<std::size_t>::max() / sizeof(Slot));
  if (need > kMaxSlots - used_) throw std::bad_alloc();
  if (used_ + need > capacity_) {
    std::size_t capacity = capacity_ == 0 ? kFirstCapacity : capacity_;
    while (capacity < used_ + need) capacity = capacity <= kMaxSlots / 2 ? capacity * 2 : kMaxSlots;
    // Slots are plain bytes, so realloc may move them; the C library can
    // often grow a large block where it lies, neither copying it nor
    // touching fresh pages for it.
    auto* slots = static_cast<Slot*>(std::realloc(slots_, capacity * sizeof(Slot)));
    if (slots == nullptr) throw std::bad_alloc();
    if (slots_ == nullptr) slots[0] = Slot{0, {kNone, kNone}};
    slots_ = slots;
    capacity_ = capacity;
  }
  const auto node = static_cast<Node>(used_);
  used_ += need;
  slots_[node] = Slot{search.head | std::uint64_t{static_cast<unsigned char>(status_letter)} << 8 |
                          (search.is_long() ? kLongKey : 0),
                      {kNone, kNone}};
  if (search.is_long()) {
    char* text = reinterpret_cast<char*>(slots_ + node + 1);
    std::memcpy(text, search.text + kHeadBytes, tail - 1);
    text[tail - 1] = '\0';
  }
  return node;
}

std::string GridIndex::key(Node t) const {
  std::string text;
  for (int shift = 56; shift >= 16; shift -= 8) {
    const char c = static_cast<char>(slots_[t].word >> shift);
    if (c == '\0') return text;
    text += c;
  }
  if ((slots_[t].word & kLongKey) != 0) text += reinterpret_cast<const char*>(slots_ + t + 1);
  return text;
}

// The link that holds the node at `depth` of a walk: the root, or a child of
// the node above.
GridIndex::Node& GridIndex::link(const Node* path, const unsigned char* sides, int depth) {
  return depth == 0 ? root_ : slots_[path[depth - 1]].child[sides[depth - 1]];
}

GridIndex::Node GridIndex::skew(Node t) {
  const Node l = left(t);
  if (l != kNone && level(l) == level(t)) {
    slots_[t].child[0] = right(l);
    slots_[l].child[1] = t;
    return l;
  }
  return t;
}

// The right grandchild is read only when the right child is level with t:
// it is seldom on the walk's path, so reading it is most likely a miss.
GridIndex::Node GridIndex::split(Node t) {
  const Node r = right(t);
  if (r == kNone || level(r) != level(t)) return t;
  const Node rr = right(r);
  if (rr != kNone && level(rr) == level(t)) {
    slots_[t].child[1] = left(r);
    slots_[r].child[0] = t;
    ++slots_[r].word;  // the level is the word's lowest bits
    return r;
  }
  return t;
}

namespace {

// The top bits of the product: they depend on every byte of the key.
std::size_t seen_slot(std::uint64_t head, std::size_t mask) {
  return static_cast<std::size_t>((head * 0x9E3779B97F4A7C15u) >> (64 - std::bit_width(mask)));
}

}  // namespace

bool GridIndex::seen(const SearchKey& search) const {
  if (seen_ == nullptr || search.is_long()) return false;
  for (std::size_t i = seen_slot(search.head, seen_mask_);; i = (i + 1) & seen_mask_) {
    const Node t = seen_[i];
    if (t == kNone) return false;
    if ((slots_[t].word & kKeyBits) == search.head) return true;
  }
}

void GridIndex::remember(Node t) {
  if (4 * (seen_count_ + 1) > 3 * (seen_mask_ + 1)) build_seen(2 * (seen_mask_ + 1));
  place_seen(t);
}

// A listing that repeats its grids, one row per contact say, gets a hash
// table of its short keys once it has repeated as many rows as it has
// grids: from then on a repeat costs a probe or two, not a walk. A listing
// of distinct grids never pays for the table.
void GridIndex::count_repeat() {
  if (++repeats_ < nodes_ || seen_ != nullptr || nodes_ < kFewGrids) return;
  std::size_t capacity = kFewGrids;
  while (capacity < 2 * nodes_) capacity *= 2;
  build_seen(capacity);
}

void GridIndex::build_seen(std::size_t capacity) {
  seen_.reset(new Node[capacity]());
  seen_mask_ = capacity - 1;
  seen_count_ = 0;
  for (std::size_t t = 1; t < used_;) {
    if ((slots_[t].word & kLongKey) != 0) {  // its text follows it
      t += 1 + (std::strlen(reinterpret_cast<const char*>(slots_ + t + 1)) + sizeof(Slot)) / sizeof(Slot);
      continue;
    }
    place_seen(static_cast<Node>(t++));
  }
}

void GridIndex::place_seen(Node t) {
  std::size_t i = seen_slot(slots_[t].word & kKeyBits, seen_mask_);
  while (seen_[i] != kNone) i = (i + 1) & seen_mask_;
  seen_[i] = t;
  ++seen_count_;
}

// One walk down from the root: the nodes it passed and the side it took at
// each, up to the empty link where the key belongs or the node that has it.
struct GridIndex::Walk {
  Node path[kMaxHeight];
  unsigned char sides[kMaxHeight];
  int depth = 0;
  bool present = false;
  // Once inserted: the shallowest depth of `path` whose node changed, or -1
  // when the root link did.
  int changed_from = 0;
};

// The side to take at t, or -1 when t holds the key. The side is chosen
// without a branch: which way a grid goes is as good as random, and a guess
// the processor gets wrong costs more than the comparison itself.
int GridIndex::step(const SearchKey& search, Node t) const {
  const std::uint64_t head = slots_[t].word & kKeyBits;
  if (head != search.head) return search.head > head;
  const int order = compare(search, t);
  return order == 0 ? -1 : order > 0;
}

void GridIndex::walk(const SearchKey& search, Walk& walk) const {
  walk.depth = 0;
  walk.present = false;
  for (Node t = root_; t != kNone;) {
    const int side = step(search, t);
    if (side < 0) {
      walk.present = true;
      return;
    }
    walk.path[walk.depth] = t;
    walk.sides[walk.depth++] = static_cast<unsigned char>(side);
    t = slots_[t].child[side];
  }
}

GridIndex::Node GridIndex::attach(const SearchKey& search, char status_letter, Walk& walk) {
  int depth = walk.depth;
  const Node leaf = new_node(search, status_letter);  // may move every slot
  link(walk.path, walk.sides, depth) = leaf;
  ++nodes_;
  walk.changed_from = depth - 1;

  // Skew and split on the way back up. Only the side the walk took has
  // changed below a node, and the node's level has not: a walk that went
  // right cannot need a skew, and one that went left needs a split only
  // after a skew. Once neither rotates at a node nor at the one below it,
  // that node keeps its level and children, so nothing above it can change
  // any more.
  bool below_rotated = true;  // the new leaf hangs where nothing was
  while (depth > 0) {
    --depth;
    const Node t = walk.path[depth];
    const Node skewed = walk.sides[depth] == 0 ? skew(t) : t;
    const Node balanced = walk.sides[depth] == 1 || skewed != t ? split(skewed) : skewed;
    const bool rotated = skewed != t || balanced != skewed;
    if (!rotated && !below_rotated) break;
    if (rotated) {
      link(walk.path, walk.sides, depth) = balanced;
      walk.changed_from = depth - 1;
    }
    below_rotated = rotated;
  }
  if (seen_ != nullptr && !search.is_long()) remember(leaf);
  return leaf;
}

void GridIndex::insert(const char* key, char status_letter) { insert(key, std::strlen(key), status_letter); }

// Whether the key goes after every key of the index.
bool GridIndex::beyond_last(const SearchKey& search) const { return last_ == kNone || step(search, last_) == 1; }

// The walk to the empty link after the last key: down the right children
// from the root. Listings in grid order add every grid there, and each
// insertion changes only the bottom of that path, so it is kept from one
// insertion to the next and only its changed part is walked again.
void GridIndex::follow_spine(Walk& walk) {
  int depth = spine_known_;
  for (Node t = depth == 0 ? root_ : right(spine_[depth - 1]); t != kNone; t = right(t)) spine_[depth++] = t;
  std::memcpy(walk.path, spine_, static_cast<std::size_t>(depth) * sizeof(Node));
  std::memset(walk.sides, 1, static_cast<std::size_t>(depth));
  walk.depth = depth;
}

void GridIndex::add(const SearchKey& search, char status_letter, Walk& walk, bool last) {
  const Node leaf = attach(search, status_letter, walk);
  if (last) last_ = leaf;
  // Nodes above the shallowest change kept their places, and so did the
  // spine's nodes down to that depth.
  spine_known_ = std::min(spine_known_, walk.changed_from + 1);
}

void GridIndex::insert(const char* key, std::size_t length, char status_letter) {
  const IndexRow row{key, length, status_letter};
  insert(&row, 1);
}

// The walks of a group go down side by side, so the processor waits on the
// nodes of several at once. The insertions then follow in the rows' order;
// a walk stays good unless an insertion before it changed a node on it.
// Rows beyond the last key are not walked: they follow the spine.
void GridIndex::insert(const IndexRow* rows, std::size_t count) {
  constexpr std::size_t kGroup = 4;
  for (std::size_t first = 0; first < count; first += kGroup) {
    const IndexRow* group = rows + first;
    const std::size_t n = std::min(kGroup, count - first);
    SearchKey keys[kGroup];
    Walk walks[kGroup];
    Node at[kGroup];
    bool walked[kGroup];
    std::size_t walking = 0;
    for (std::size_t i = 0; i < n; ++i) {
      keys[i] = SearchKey(group[i].key, group[i].length);
      walks[i].present = seen(keys[i]);
      walked[i] = !walks[i].present && !beyond_last(keys[i]);
      at[i] = walked[i] ? root_ : kNone;
      walking += at[i] != kNone;
    }
    while (walking > 0) {
      for (std::size_t i = 0; i < n; ++i) {
        const Node t = at[i];
        if (t == kNone) continue;
        const int side = step(keys[i], t);
        Walk& w = walks[i];
        if (side < 0) {
          w.present = true;
          at[i] = kNone;
        } else {
          w.path[w.depth] = t;
          w.sides[w.depth++] = static_cast<unsigned char>(side);
          at[i] = slots_[t].child[side];
        }
        walking -= at[i] == kNone;
      }
    }
    Walk* inserted[kGroup];
    std::size_t inserted_count = 0;
    for (std::size_t i = 0; i < n; ++i) {
      Walk& w = walks[i];
      const bool last = !w.present && beyond_last(keys[i]);
      if (last) {
        follow_spine(w);
      } else if (!w.present) {
        bool good = walked[i];
        for (std::size_t j = 0; good && j < inserted_count; ++j) {
          const Walk& before = *inserted[j];
          // A node has one path from the root, so sharing the node at that
          // depth is sharing the whole path down to it.
          const int changed = before.changed_from;
          good = changed >= 0 && (w.depth <= changed || w.path[changed] != before.path[changed]);
        }
        if (!good) walk(keys[i], w);
      }
      if (w.present) {
        count_repeat();  // a key met again keeps its first letter
        continue;
      }
      add(keys[i], group[i].status_letter, w, last);
      inserted[inserted_count++] = &w;
    }
  }
}

std::optional<char> GridIndex::find(const char* key) const {
  const SearchKey search(key, std::strlen(key));
  for (Node t = root_; t != kNone;) {
    const std::uint64_t head = slots_[t].word & kKeyBits;
    unsigned char side = search.head > head;
    if (head == search.head) {
      const int order = compare(search, t);
      if (order == 0) return status_letter(t);
      side = order > 0;
    }
    t = slots_[t].child[side];
  }
  return std::nullopt;
}

void GridIndex::release() {
  seen_.reset();
  seen_mask_ = seen_count_ = nodes_ = repeats_ = 0;
  last_ = kNone;
  spine_known_ = 0;
  std::free(slots_);
  slots_ = nullptr;
  used_ = 1;
  capacity_ = 0;
  root_ = kNone;
}

}  // namespace zelk

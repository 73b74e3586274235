// The grid status index: every grid of one listing with its status letter,
// kept in an AA tree (Andersson's balanced binary search tree) ordered by the
// grid texts compared byte by byte as unsigned values.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zelk {

// A row's grid, `length` bytes without a NUL, and its status letter.
struct IndexRow {
  const char* key;
  std::size_t length;
  char status_letter;
};

// Owns one index for the length of a run. The nodes are 16-byte slots in one
// array and name their children by slot number: the nodes of a listing of
// the whole world then fit the processor's second-level cache, where
// pointers and a key field of their own would not.
class GridIndex {
 public:
  // A node's slot number; kNone names no node.
  using Node = std::uint32_t;
  static constexpr Node kNone = 0;

  GridIndex() = default;
  GridIndex(GridIndex&& other) noexcept { take_from(other); }
  GridIndex& operator=(GridIndex&& other) noexcept {
    if (this != &other) {
      release();
      take_from(other);
    }
    return *this;
  }
  GridIndex(const GridIndex&) = delete;
  GridIndex& operator=(const GridIndex&) = delete;
  ~GridIndex() { release(); }

  // A key already present keeps the letter of its first insertion. Throws
  // std::bad_alloc when the index cannot grow.
  void insert(const char* key, char status_letter);
  // The same, for `length` bytes without a NUL that need not be terminated.
  void insert(const char* key, std::size_t length, char status_letter);
  // The rows in their order, as one insert() each would, but faster.
  void insert(const IndexRow* rows, std::size_t count);
  // The letter kept for the key, or nothing when it is not in the index.
  std::optional<char> find(const char* key) const;
  bool empty() const { return root_ == kNone; }

  // The tree, for walks over it.
  Node root() const { return root_; }
  Node left(Node t) const { return slots_[t].child[0]; }
  Node right(Node t) const { return slots_[t].child[1]; }
  int level(Node t) const { return static_cast<int>(slots_[t].word & kLevelBits); }
  char status_letter(Node t) const { return static_cast<char>(slots_[t].word >> 8); }
  std::string key(Node t) const;

 private:
  // A node's word holds the key's first six bytes in its top 48 bits, first
  // byte highest, so that words compare as the texts do; then the status
  // letter, then the long-key flag and the level. A key of seven bytes and
  // more continues, terminated, in the slots that follow its node.
  struct Slot {
    std::uint64_t word;
    Node child[2];
  };
  static constexpr std::uint64_t kLevelBits = 0x7F;
  static constexpr std::uint64_t kLongKey = 0x80;
  static constexpr std::uint64_t kKeyBits = ~std::uint64_t{0xFFFF};
  static constexpr std::size_t kHeadBytes = 6;
  // The height of an AA tree stays below 2 log2(n + 1), and slot numbers
  // are 32 bits.
  static constexpr int kMaxHeight = 66;

  struct SearchKey;
  struct Walk;
  int compare(const SearchKey& search, Node t) const;
  int step(const SearchKey& search, Node t) const;
  void walk(const SearchKey& search, Walk& walk) const;
  Node attach(const SearchKey& search, char status_letter, Walk& walk);
  bool beyond_last(const SearchKey& search) const;
  void follow_spine(Walk& walk);
  void add(const SearchKey& search, char status_letter, Walk& walk, bool last);
  bool seen(const SearchKey& search) const;
  void count_repeat();
  void remember(Node t);
  void build_seen(std::size_t capacity);
  void place_seen(Node t);
  Node new_node(const SearchKey& search, char status_letter);
  Node& link(const Node* path, const unsigned char* sides, int depth);
  Node skew(Node t);
  Node split(Node t);
  void release();
  void take_from(GridIndex& other) {
    seen_ = std::move(other.seen_);
    seen_mask_ = other.seen_mask_;
    seen_count_ = other.seen_count_;
    nodes_ = other.nodes_;
    repeats_ = other.repeats_;
    other.seen_mask_ = other.seen_count_ = other.nodes_ = other.repeats_ = 0;
    last_ = other.last_;
    spine_known_ = other.spine_known_;
    std::copy(other.spine_, other.spine_ + spine_known_, spine_);
    other.last_ = kNone;
    other.spine_known_ = 0;
    slots_ = other.slots_;
    used_ = other.used_;
    capacity_ = other.capacity_;
    root_ = other.root_;
    other.slots_ = nullptr;
    other.used_ = 1;
    other.capacity_ = 0;
    other.root_ = kNone;
  }

  Slot* slots_ = nullptr;  // slot 0 stands for kNone and is never a node
  std::size_t used_ = 1;
  std::size_t capacity_ = 0;
  Node root_ = kNone;
  Node last_ = kNone;  // the node of the greatest key
  // The right children from the root, known down to spine_known_ nodes.
  Node spine_[kMaxHeight];
  int spine_known_ = 0;
  std::size_t nodes_ = 0;
  std::size_t repeats_ = 0;  // rows whose key was already in
  // Once the rows repeat their keys: the nodes of short keys by their hash.
  std::unique_ptr<Node[]> seen_;
  std::size_t seen_mask_ = 0;
  std::size_t seen_count_ = 0;
};

}  // namespace zelk

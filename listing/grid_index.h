// The grid status index: every grid of one listing with its status letter,
// kept in an AA tree (Andersson's balanced binary search tree) ordered by the
// grid texts compared byte by byte as unsigned values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelk {

class GridIndex {
 public:
  // A node's number in the array of nodes. kNone is the tree's bottom: a
  // node of level 0 that is its own children, so that skew and split need
  // no test for a missing child.
  using Node = std::uint32_t;
  static constexpr Node kNone = 0;

  GridIndex() : nodes_(1) {}

  // A key already present keeps the letter of its first insertion. Keys are
  // any bytes. Gives the key's node: nodes are numbered 1, 2, ... as keys
  // arrive. Throws std::bad_alloc when the index cannot grow.
  Node insert(std::string_view key, char status_letter);
  // The letter kept for the key, or nothing when it is not in the index.
  std::optional<char> find(std::string_view key) const;
  bool empty() const { return root_ == kNone; }

  // The tree, for walks over it.
  Node root() const { return root_; }
  Node left(Node t) const { return nodes_[t].child[0]; }
  Node right(Node t) const { return nodes_[t].child[1]; }
  int level(Node t) const { return nodes_[t].level; }
  char status_letter(Node t) const { return nodes_[t].status_letter; }
  std::string key(Node t) const { return std::string(key_of(t)); }

  // Nodes are numbered 1 to size().
  std::size_t size() const { return nodes_.size() - 1; }
  // A copy of the tree whose keys carry other letters: letters[t] for node
  // t, and `absent` where that is negative or missing.
  GridIndex with_letters(const std::vector<std::int16_t>& letters, char absent) const;

 private:
  // Grids are four or six bytes: their nodes hold them, and a walk reads
  // one place per node. Children by number keep a node at 24 bytes, so the
  // nodes of the whole world's grids stay in the processor's caches.
  static constexpr std::size_t kShortKey = 6;
  struct Slot {
    Node child[2] = {kNone, kNone};
    std::uint32_t key_length = 0;
    std::uint32_t long_key_at = 0;  // where a key longer than kShortKey is in long_keys_
    char short_key[kShortKey] = {};
    std::uint8_t level = 0;
    char status_letter = '\0';
  };

  std::string_view key_of(Node t) const {
    const Slot& slot = nodes_[t];
    return {slot.key_length <= kShortKey ? slot.short_key : long_keys_.data() + slot.long_key_at, slot.key_length};
  }
  Node new_node(std::string_view key, char status_letter);
  Node skew(Node t);
  Node split(Node t);

  std::vector<Slot> nodes_;  // nodes_[0] is the bottom, kNone
  std::string long_keys_;
  Node root_ = kNone;
};

}  // namespace zelk

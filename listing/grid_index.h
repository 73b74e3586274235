// The grid status index: every grid of one listing with its status letter,
// kept in an AA tree (Andersson's balanced binary search tree) ordered by the
// grid texts compared byte by byte as unsigned values.
#pragma once

#include <cstddef>

namespace zelk {

struct IndexNode {
  char* key;  // own copy of the grid text, exactly its length + terminator
  char status_letter;
  int level;
  IndexNode* left;
  IndexNode* right;
};

const IndexNode* index_find(const IndexNode* root, const char* key);

// Owns one index for the length of a run. Its nodes and key copies live in
// blocks that go back to the heap together when the index does: a listing
// of the whole world is tens of thousands of them.
class GridIndex {
 public:
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

  // A key already present keeps the letter of its first insertion.
  void insert(const char* key, char status_letter);
  // The same, for a key whose length is known: `key` is still terminated.
  void insert(const char* key, std::size_t length, char status_letter);
  const IndexNode* find(const char* key) const { return index_find(root_, key); }
  const IndexNode* root() const { return root_; }
  bool empty() const { return root_ == nullptr; }

 private:
  struct Block;

  IndexNode* new_node(const char* key, std::size_t length, char status_letter);
  void release();
  void take_from(GridIndex& other) {
    root_ = other.root_;
    blocks_ = other.blocks_;
    front_ = other.front_;
    back_ = other.back_;
    other.root_ = nullptr;
    other.blocks_ = nullptr;
    other.front_ = other.back_ = nullptr;
  }

  IndexNode* root_ = nullptr;
  Block* blocks_ = nullptr;  // the newest first
  // The newest block's free room: nodes are cut from its front and key
  // copies from its back, so neither wastes bytes on the other's alignment.
  char* front_ = nullptr;
  char* back_ = nullptr;
};

}  // namespace zelk

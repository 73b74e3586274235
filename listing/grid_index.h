// The grid status index: every grid of one listing with its status letter,
// kept in an AA tree (Andersson's balanced binary search tree) ordered by the
// grid texts compared byte by byte as unsigned values.
#pragma once

#include <cstddef>

namespace zelk {

// A key shorter than eight bytes lives in the node itself, so a walk reads
// one cache line per node; a longer one follows its node in full.
struct IndexNode {
  char head[8];  // the key's first eight bytes, zeros after its terminator
  IndexNode* left;
  IndexNode* right;
  int level;
  char status_letter;

  const char* key() const { return head[7] == '\0' ? head : reinterpret_cast<const char*>(this + 1); }
};

const IndexNode* index_find(const IndexNode* root, const char* key);

// Owns one index for the length of a run. Its nodes live in
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
  // The same, for `length` bytes without a NUL that need not be terminated.
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
  // The newest block's free room.
  char* front_ = nullptr;
  char* back_ = nullptr;
};

}  // namespace zelk

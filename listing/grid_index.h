// The grid status index: every grid of one listing with its status letter,
// kept in an AA tree (Andersson's balanced binary search tree) ordered by the
// grid texts compared byte by byte as unsigned values.
#pragma once

namespace zelk {

struct IndexNode {
  char* key;  // own copy of the grid text, exactly its length + terminator
  char status_letter;
  int level;
  IndexNode* left;
  IndexNode* right;
};

// Gives the new root. A key already present keeps the letter of its first
// insertion.
IndexNode* index_insert(IndexNode* root, const char* key, char status_letter);
const IndexNode* index_find(const IndexNode* root, const char* key);
// Releases every node and key copy.
void index_release(IndexNode* root);

// Owns one index for the length of a run.
class GridIndex {
 public:
  GridIndex() = default;
  explicit GridIndex(IndexNode* root) : root_(root) {}
  GridIndex(GridIndex&& other) noexcept : root_(other.root_) { other.root_ = nullptr; }
  GridIndex& operator=(GridIndex&& other) noexcept {
    if (this != &other) {
      index_release(root_);
      root_ = other.root_;
      other.root_ = nullptr;
    }
    return *this;
  }
  GridIndex(const GridIndex&) = delete;
  GridIndex& operator=(const GridIndex&) = delete;
  ~GridIndex() { index_release(root_); }

  void insert(const char* key, char status_letter) { root_ = index_insert(root_, key, status_letter); }
  const IndexNode* find(const char* key) const { return index_find(root_, key); }
  const IndexNode* root() const { return root_; }
  bool empty() const { return root_ == nullptr; }

 private:
  IndexNode* root_ = nullptr;
};

}  // namespace zelk

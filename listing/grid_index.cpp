#include "listing/grid_index.h"

#include <cstring>
#include <new>

namespace zelk {

struct alignas(IndexNode) GridIndex::Block {
  Block* next;
};

namespace {

// Small enough that the last, partly used block costs little, large enough
// that a world listing takes a few hundred of them.
constexpr std::size_t kBlockBytes = 4096;

// The height of an AA tree stays below 2 log2(n + 1), and fewer than 2^60
// nodes fit in any address space.
constexpr int kMaxHeight = 128;

// Byte order as unsigned values, as strcmp gives it; inline, since grid keys
// are a few bytes long and a library call costs more than the comparison.
int compare_keys(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<int>(static_cast<unsigned char>(*a)) - static_cast<int>(static_cast<unsigned char>(*b));
}

IndexNode* skew(IndexNode* t) {
  IndexNode* l = t->left;
  if (l != nullptr && l->level == t->level) {
    t->left = l->right;
    l->right = t;
    return l;
  }
  return t;
}

IndexNode* split(IndexNode* t) {
  IndexNode* r = t->right;
  if (r != nullptr && r->right != nullptr && r->right->level == t->level) {
    t->right = r->left;
    r->left = t;
    ++r->level;
    return r;
  }
  return t;
}

}  // namespace

IndexNode* GridIndex::new_node(const char* key, char status_letter) {
  const std::size_t key_bytes = std::strlen(key) + 1;
  const std::size_t need = sizeof(IndexNode) + key_bytes;
  char* node_place;
  char* key_place;
  if (static_cast<std::size_t>(back_ - front_) >= need) {
    node_place = front_;
    front_ += sizeof(IndexNode);
    back_ -= key_bytes;
    key_place = back_;
  } else if (need > kBlockBytes - sizeof(Block)) {
    // A key too long for a block gets one of its own, kept behind the
    // newest so that the newest block's room stays in use.
    auto* own = static_cast<Block*>(::operator new(sizeof(Block) + need));
    if (blocks_ != nullptr) {
      own->next = blocks_->next;
      blocks_->next = own;
    } else {
      own->next = nullptr;
      blocks_ = own;
    }
    node_place = reinterpret_cast<char*>(own + 1);
    key_place = node_place + sizeof(IndexNode);
  } else {
    auto* block = static_cast<Block*>(::operator new(kBlockBytes));
    block->next = blocks_;
    blocks_ = block;
    node_place = reinterpret_cast<char*>(block + 1);
    front_ = node_place + sizeof(IndexNode);
    back_ = reinterpret_cast<char*>(block) + kBlockBytes - key_bytes;
    key_place = back_;
  }
  std::memcpy(key_place, key, key_bytes);
  return new (node_place) IndexNode{key_place, status_letter, 0, nullptr, nullptr};
}

void GridIndex::insert(const char* key, char status_letter) {
  // One walk down, remembering the links it took.
  IndexNode** path[kMaxHeight];
  int depth = 0;
  IndexNode** link = &root_;
  while (*link != nullptr) {
    const int order = compare_keys(key, (*link)->key);
    if (order == 0) return;  // a balanced tree that gains nothing stays as it is
    path[depth++] = link;
    link = order < 0 ? &(*link)->left : &(*link)->right;
  }
  *link = new_node(key, status_letter);

  // Skew and split on the way back up. Once neither rotates at a node nor
  // at the one below it, that node keeps its level and children, so nothing
  // above it can change any more.
  bool below_rotated = true;  // the new leaf hangs where nothing was
  while (depth > 0) {
    IndexNode** at = path[--depth];
    IndexNode* t = *at;
    IndexNode* skewed = skew(t);
    IndexNode* balanced = split(skewed);
    const bool rotated = skewed != t || balanced != skewed;
    if (!rotated && !below_rotated) break;
    *at = balanced;
    below_rotated = rotated;
  }
}

const IndexNode* index_find(const IndexNode* t, const char* key) {
  while (t != nullptr) {
    int order = compare_keys(key, t->key);
    if (order == 0) return t;
    t = order < 0 ? t->left : t->right;
  }
  return nullptr;
}

void GridIndex::release() {
  for (Block* block = blocks_; block != nullptr;) {
    Block* next = block->next;
    ::operator delete(block);
    block = next;
  }
  root_ = nullptr;
  blocks_ = nullptr;
  front_ = back_ = nullptr;
}

}  // namespace zelk

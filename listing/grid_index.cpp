#include "listing/grid_index.h"

#include <cstring>
#include <memory>

namespace zelk {

namespace {

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

IndexNode* new_node(const char* key, char status_letter) {
  std::size_t length = std::strlen(key);
  auto copy = std::make_unique<char[]>(length + 1);
  std::memcpy(copy.get(), key, length + 1);
  auto* node = new IndexNode{nullptr, status_letter, 0, nullptr, nullptr};
  node->key = copy.release();
  return node;
}

}  // namespace

IndexNode* index_insert(IndexNode* t, const char* key, char status_letter) {
  if (t == nullptr) return new_node(key, status_letter);
  int order = compare_keys(key, t->key);
  if (order < 0) t->left = index_insert(t->left, key, status_letter);
  else if (order > 0) t->right = index_insert(t->right, key, status_letter);
  return split(skew(t));
}

const IndexNode* index_find(const IndexNode* t, const char* key) {
  while (t != nullptr) {
    int order = compare_keys(key, t->key);
    if (order == 0) return t;
    t = order < 0 ? t->left : t->right;
  }
  return nullptr;
}

void index_release(IndexNode* t) {
  while (t != nullptr) {
    // Rotate left children up so the walk needs no recursion or stack.
    if (t->left != nullptr) {
      IndexNode* l = t->left;
      t->left = l->right;
      l->right = t;
      t = l;
      continue;
    }
    IndexNode* next = t->right;
    delete[] t->key;
    delete t;
    t = next;
  }
}

}  // namespace zelk

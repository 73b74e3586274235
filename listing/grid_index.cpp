#include "listing/grid_index.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <new>

namespace zelk {

struct alignas(IndexNode) GridIndex::Block {
  Block* next;
};

namespace {

// Small enough that the last, partly used block costs little, large enough
// that a world listing takes fewer than a hundred of them.
constexpr std::size_t kBlockBytes = 16384;

// The height of an AA tree stays below 2 log2(n + 1), and fewer than 2^60
// nodes fit in any address space.
constexpr int kMaxHeight = 128;

// Byte order as unsigned values, as strcmp gives it, of `length` bytes
// without a NUL against a terminated text.
int compare_keys(const char* a, std::size_t length, const char* b) {
  for (std::size_t i = 0; i < length; ++i)
    if (a[i] != b[i]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]) ? -1 : 1;
  return b[length] == '\0' ? 0 : -1;
}

std::uint64_t head_word(const IndexNode* t) {
  std::uint64_t word;
  std::memcpy(&word, t->head, sizeof word);
  return word;
}

// A word whose unsigned order is the byte order of the bytes it was read from.
std::uint64_t in_byte_order(std::uint64_t word) {
  if constexpr (std::endian::native == std::endian::big) return word;
#if defined(__GNUC__)
  return __builtin_bswap64(word);
#else
  std::uint64_t swapped = 0;
  for (int i = 0; i < 8; ++i, word >>= 8) swapped = swapped << 8 | (word & 0xFF);
  return swapped;
#endif
}

// A text looked for or inserted, prepared once for the walk: grids are a few
// bytes long, so the first eight bytes (terminator included) nearly always
// decide, by one load and one comparison per node, with no branch on the
// bytes that the processor would have to guess.
struct SearchKey {
  SearchKey(const char* key, std::size_t key_length) : text(key), length(key_length) {
    std::memcpy(&head, key, length < sizeof head ? length : sizeof head);
    ordered_head = in_byte_order(head);
    longer = length >= sizeof head;
  }

  // Against a node of the index. Both heads are zero past their text,
  // so equal heads of short keys are equal keys.
  int compare(const IndexNode* t) const {
    const std::uint64_t stored_head = head_word(t);
    if (stored_head == head)
      return longer ? compare_keys(text + sizeof head, length - sizeof head, t->key() + sizeof head) : 0;
    return ordered_head < in_byte_order(stored_head) ? -1 : 1;
  }

  const char* text;
  std::size_t length;
  std::uint64_t head = 0;  // zero beyond the text
  std::uint64_t ordered_head = 0;
  bool longer = false;  // eight bytes or more
};

// The walks wait mostly on nodes that are not in the cache yet: ask for both
// children while the comparison at their parent decides between them.
void fetch_children(const IndexNode* t) {
#if defined(__GNUC__)
  __builtin_prefetch(t->left);
  __builtin_prefetch(t->right);
#else
  (void)t;
#endif
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

IndexNode* GridIndex::new_node(const char* key, std::size_t length, char status_letter) {
  constexpr std::size_t kHead = sizeof(IndexNode::head);
  const bool long_key = length >= kHead;
  const std::size_t key_bytes = long_key ? (length + alignof(IndexNode)) / alignof(IndexNode) * alignof(IndexNode) : 0;
  const std::size_t need = sizeof(IndexNode) + key_bytes;
  char* place;
  if (static_cast<std::size_t>(back_ - front_) >= need) {
    place = front_;
    front_ += need;
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
    place = reinterpret_cast<char*>(own + 1);
  } else {
    auto* block = static_cast<Block*>(::operator new(kBlockBytes));
    block->next = blocks_;
    blocks_ = block;
    place = reinterpret_cast<char*>(block + 1);
    front_ = place + need;
    back_ = reinterpret_cast<char*>(block) + kBlockBytes;
  }
  auto* node = new (place) IndexNode{{}, nullptr, nullptr, 0, status_letter};
  std::memcpy(node->head, key, long_key ? kHead : length);
  if (long_key) {
    char* text = reinterpret_cast<char*>(node + 1);
    std::memcpy(text, key, length);
    text[length] = '\0';
  }
  return node;
}

void GridIndex::insert(const char* key, char status_letter) { insert(key, std::strlen(key), status_letter); }

void GridIndex::insert(const char* key, std::size_t length, char status_letter) {
  // One walk down, remembering the links it took.
  const SearchKey search(key, length);
  IndexNode** path[kMaxHeight];
  int depth = 0;
  IndexNode** link = &root_;
  for (IndexNode* t = *link; t != nullptr; t = *link) {
    fetch_children(t);
    const int order = search.compare(t);
    if (order == 0) return;  // a balanced tree that gains nothing stays as it is
    path[depth++] = link;
    link = order < 0 ? &t->left : &t->right;
  }
  *link = new_node(key, length, status_letter);

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
  const SearchKey search(key, std::strlen(key));
  while (t != nullptr) {
    fetch_children(t);
    const int order = search.compare(t);
    if (order == 0) return t;
    t = order < 0 ? t->left : t->right;
  }
  return nullptr;
}

void GridIndex::release() {
  // Oldest first: the heap then merges the blocks as they come back and
  // gives the memory to the system once, rather than once per block.
  Block* oldest = nullptr;
  while (blocks_ != nullptr) {
    Block* next = blocks_->next;
    blocks_->next = oldest;
    oldest = blocks_;
    blocks_ = next;
  }
  while (oldest != nullptr) {
    Block* next = oldest->next;
    ::operator delete(oldest);
    oldest = next;
  }
  root_ = nullptr;
  blocks_ = nullptr;
  front_ = back_ = nullptr;
}

}  // namespace zelk

#include "text/text_value.h"

#include <cstring>

#include "runtime/memory.h"

namespace quillet::text {

const char kEmptyText[1] = "";

std::size_t text_length(const char* text) { return text != nullptr ? std::strlen(text) : 0; }

char* make_text(const char* bytes, std::size_t count) {
  if (count == 0) return nullptr;
  auto* block = static_cast<char*>(runtime::allocate(count + 1));
  std::memcpy(block, bytes, count);
  block[count] = '\0';
  return block;
}

char* copy_text(const char* text) { return make_text(text, text_length(text)); }

bool equal_folded(const char* a, const char* b, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (fold_case(static_cast<unsigned char>(a[i])) != fold_case(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

namespace {

// Next place in [from, last] where the needle's first byte (folded or not) stands.
const char* next_candidate(const char* from, const char* last, unsigned char first, bool ignore_case) {
  const unsigned char folded = fold_case(first);
  const bool is_letter = static_cast<unsigned char>(folded - 'a') < 26u;
  if (!ignore_case || !is_letter) {
    return static_cast<const char*>(std::memchr(from, first, static_cast<std::size_t>(last - from) + 1));
  }
  for (const char* p = from; p <= last; ++p) {
    if (fold_case(static_cast<unsigned char>(*p)) == folded) return p;
  }
  return nullptr;
}

}  // namespace

const char* find_on_boundary(const char* begin, const char* end, const char* needle, std::size_t count,
                             bool ignore_case) {
  if (count == 0 || static_cast<std::size_t>(end - begin) < count) return nullptr;
  const char* last = end - count;  // the last place a match can start
  const auto first = static_cast<unsigned char>(needle[0]);
  BoundaryCursor cursor(begin);
  for (const char* p = begin; p <= last; ++p) {
    p = next_candidate(p, last, first, ignore_case);
    if (p == nullptr) return nullptr;
    const bool matches = ignore_case ? equal_folded(p + 1, needle + 1, count - 1)
                                     : std::memcmp(p + 1, needle + 1, count - 1) == 0;
    if (matches && cursor.is_boundary(p)) return p;
  }
  return nullptr;
}

}  // namespace quillet::text

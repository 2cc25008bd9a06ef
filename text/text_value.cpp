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

}  // namespace quillet::text

// Tools build on the text library, whose results are run-time text blocks; a tool hands back
// a string and gives the block back at once.
#pragma once

#include <memory>
#include <string>

#include "runtime/memory.h"

namespace quillet::tools {

// The bytes of a text block the caller owns ("" for the empty text, null); the block is
// released.
inline std::string string_of(char* owned) {
  const std::unique_ptr<char, void (*)(const void*)> block(owned, runtime::release);
  return owned != nullptr ? std::string(owned) : std::string();
}

}  // namespace quillet::tools

// Test helpers shared by the text tests: random byte strings rich in double-byte edge cases,
// and character boundaries computed the slow, obvious way.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "runtime/memory.h"
#include "text/text_value.h"

namespace quillet::text {

// Takes over a text result and returns its bytes ("" for the empty text).
inline std::string take_string(char* owned) {
  std::string bytes = owned != nullptr ? owned : "";
  runtime::release(owned);
  return bytes;
}

// Boundaries the slow way: step from the start, one or two bytes at a time.
inline std::vector<bool> boundaries_by_stepping(const std::string& bytes) {
  std::vector<bool> boundary(bytes.size() + 1, false);
  std::size_t i = 0;
  while (i < bytes.size()) {
    boundary[i] = true;
    i += is_lead_byte(bytes[i]) ? 2 : 1;
  }
  if (i == bytes.size()) boundary[i] = true;
  return boundary;
}

inline std::string random_mixed_bytes(std::mt19937& rng, std::size_t size) {
  // Mostly lead bytes, some ASCII, some trail-range ASCII letters: the hard cases for pairing.
  static const unsigned char alphabet[] = {'a', 'A', ' ', '\r', '\n', 0x41, 0x61, 0xB0, 0xA1, 0xA3, 0xFF, 0x80, 0xC1};
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(alphabet[rng() % sizeof alphabet]);
  return bytes;
}

}  // namespace quillet::text

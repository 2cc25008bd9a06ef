// Splits a fuzzer's input into the pieces a harness needs: a flags byte, then texts separated
// by NUL bytes (which no text can contain).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace quillet::text::fuzzing {

// A failed property: abort, so that libFuzzer keeps the input.
inline void check(bool condition) {
  if (!condition) std::abort();
}

struct Input {
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {
    if (size_ > 0) {
      flags = data_[0];
      pos_ = 1;
    }
  }
  std::string next_text() {
    std::string text;
    while (pos_ < size_ && data_[pos_] != 0) text += static_cast<char>(data_[pos_++]);
    if (pos_ < size_) ++pos_;
    return text;
  }
  // A small optional integer from two flag bits and a shift, so starts and counts vary.
  std::optional<std::int32_t> small_number(int shift) const {
    const int bits = (flags >> shift) & 7;
    if (bits == 0) return std::nullopt;
    return bits * 3 - 6;
  }
  bool flag(int bit) const { return ((flags >> bit) & 1) != 0; }

  std::uint8_t flags = 0;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace quillet::text::fuzzing

// The program's one code page 936 codec, for every text that crosses into UTF-16 (the W
// calls of Win32). It is lossless for any byte string without NUL: valid CP936 characters
// map as the system maps them, and every byte that is not part of a valid character maps to a
// reserved private-use code unit (U+F700 + byte) that no CP936 character uses, and back.
// UTF-16 units that CP936 cannot hold encode as "?".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet::runtime {

class Cp936Codec {
 public:
  static constexpr char16_t kRawByteBase = 0xF700;  // a byte b that is no character: U+F700 + b

  // The system's mapping: single(byte) for 0x80-0xFF and pair(lead, trail) for leads 0x81-0xFE,
  // each 0 when the system has no character for it.
  struct Table {
    char16_t single[128] = {};                    // bytes 0x80-0xFF
    std::vector<char16_t> pairs = std::vector<char16_t>(126 * 256);  // [lead - 0x81][trail]
    char16_t pair(unsigned char lead, unsigned char trail) const { return pairs[(lead - 0x81u) * 256 + trail]; }
  };

  explicit Cp936Codec(const Table& table);

  // The codec built from the running system's code page 936 (Windows only).
  static const Cp936Codec& system();

  std::u16string decode(std::string_view bytes) const;
  std::string encode(std::u16string_view units) const;
  // The same into a caller's buffer, which must have room for bytes.size() units (decoding) or
  // 2 * units.size() bytes (encoding); the count written comes back.
  std::size_t decode_into(std::string_view bytes, char16_t* out) const;
  std::size_t encode_into(std::u16string_view units, char* out) const;

  // Offsets between the bytes and their decoded UTF-16 text (every character is one unit). A
  // byte offset inside a double-byte character counts as the start of that character; offsets
  // past the end are clamped.
  std::size_t units_before(std::string_view bytes, std::size_t byte_offset) const;
  std::size_t bytes_before(std::string_view bytes, std::size_t unit_offset) const;

  // The same mapping seen from the UTF-16 side, without encoding: the byte count of the units,
  // and how many whole units lie within the first byte_offset bytes (an offset inside a
  // double-byte character counts as the start of that character).
  std::size_t encoded_size(std::u16string_view units) const;
  std::size_t units_within(std::u16string_view units, std::size_t byte_offset) const;

  // Whether the code page has a character for the unit: ASCII or a mapped character. The
  // reserved units are bytes of a file, not characters: a text typed or pasted may not bring
  // them, and a lone surrogate is no character either.
  bool holds(char16_t unit) const { return unit < 0x80 || reverse_[unit] != 0; }
  static bool is_raw_byte(char16_t unit) {
    return unit >= kRawByteBase + 0x80 && unit <= kRawByteBase + 0xFF;
  }
  // The characters of the text that would become "?" when it is encoded: neither held nor raw
  // bytes (raw bytes too, for text that comes from a person rather than a file, who cannot
  // mean them). A surrogate pair counts as one character. Each comes once, in text order.
  std::u32string lost_in_encoding(std::u16string_view units, bool raw_bytes_count = false) const;

  // True when no system character lies in the reserved range (checked once when built).
  bool reserved_range_is_free() const { return reserved_range_free_; }

 private:
  std::size_t encoded_width(char16_t unit) const;
  // The character starting at bytes[i]: its unit and how many bytes it takes.
  std::pair<char16_t, std::size_t> decode_one(std::string_view bytes, std::size_t i) const;

  Table table_;
  std::vector<std::uint16_t> reverse_;  // UTF-16 unit -> byte (< 0x100) or lead << 8 | trail; 0 = none
  bool reserved_range_free_ = true;
};

// The halves of a character beyond the basic plane, and the character they make.
inline bool is_high_surrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool is_low_surrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
inline char32_t surrogate_pair(char16_t high, char16_t low) {
  return 0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
}

// "U+D55C、U+1F600": characters named for the user, in code page 936 text (which could not show
// the characters themselves).
std::string code_point_list(std::u32string_view characters);

}  // namespace quillet::runtime

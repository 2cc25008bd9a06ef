// Text values and the double-byte rules every text command shares.
//
// A text value is a NUL-terminated string of code page 936 bytes. The empty text is a null
// pointer in variables and results; as a command argument it is kEmptyText instead, so
// commands never see null. A non-empty text made at run time lives in a block of exactly
// length + 1 bytes from runtime::allocate, owned by whoever holds the pointer.
//
// Double-byte contract: any byte 0x80-0xFF is a lead byte and the byte after it is its trail,
// whatever that byte is; the pair is one character. Scans start at the first byte (or at a
// position the caller names) and step 1 or 2 bytes, so matches and cuts fall on character
// boundaries as seen from there. A lead byte that is the last byte of a text is incomplete:
// every scan stops at it. Lengths and positions count bytes.
//
// Spaces are 0x20 and the full-width space A1 A1 only. Case folding maps the bytes A-Z onto
// a-z wherever they stand, trail bytes included, and leaves every other byte alone.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet::text {

// The static empty string passed for an empty text argument. It lies in the program's
// constant area, so releasing it does nothing.
extern const char kEmptyText[1];

inline const char* as_argument(const char* text) { return text != nullptr ? text : kEmptyText; }

inline bool is_lead_byte(unsigned char byte) { return byte >= 0x80; }
inline bool is_lead_byte(char byte) { return is_lead_byte(static_cast<unsigned char>(byte)); }

// Byte count before the NUL; 0 for null.
std::size_t text_length(const char* text);

// A fresh text block holding these bytes, or null when there are none. The bytes must not
// contain NUL.
char* make_text(const char* bytes, std::size_t count);
inline char* make_text(std::string_view bytes) { return make_text(bytes.data(), bytes.size()); }
char* copy_text(const char* text);

// The width of the character starting at p, for a scan that must not pass end: 1 for a single
// byte, 2 for a lead byte with its trail, 0 for a lead byte at end - 1 (incomplete).
inline std::size_t char_width(const char* p, const char* end) {
  if (!is_lead_byte(*p)) return 1;
  return end - p >= 2 ? 2 : 0;
}

// The width of a space character at p (0x20: 1, A1 A1: 2), 0 when p starts no space.
inline std::size_t space_width(const char* p, const char* end) {
  if (*p == ' ') return 1;
  if (static_cast<unsigned char>(*p) == 0xA1 && end - p >= 2 && static_cast<unsigned char>(p[1]) == 0xA1) return 2;
  return 0;
}

inline unsigned char fold_case(unsigned char byte) {
  return static_cast<unsigned char>(byte - 'A') < 26u ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

// Byte-wise comparison of n bytes, folding A-Z in both (trail bytes too).
bool equal_folded(const char* a, const char* b, std::size_t count);

// Answers "is p a character boundary, scanning from start?" for a series of positions that
// never move backwards, in time linear in the bytes passed over in all.
//
// A byte below 0x80 is never a lead byte, so whatever it is the next byte starts a
// character; from such a point the bytes up to p are all lead/trail pairs, and p is a
// boundary exactly when their count is even.
class BoundaryCursor {
 public:
  // The start of the run of high bytes that ends at p, looking back no further than floor.
  static const unsigned char* last_run_start(const unsigned char* floor, const unsigned char* p) {
#if defined(__SSE2__)
    while (p - floor >= 16) {
      const auto high = static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 16))));
      if (high != 0xFFFF) return p - 16 + (32 - __builtin_clz(~high & 0xFFFF));
      p -= 16;
    }
#endif
    // Eight bytes at a time for what is left: a run that reaches back to the floor (a line of
    // Chinese text after its line break) would otherwise be walked byte by byte.
    while (p - floor >= 8) {
      static_assert(std::endian::native == std::endian::little, "byte k of the word is p[k - 8]");
      std::uint64_t word;
      std::memcpy(&word, p - 8, 8);
      const std::uint64_t low = ~word & 0x8080808080808080ULL;  // the top bit of each byte below 0x80
      if (low != 0) return p - 8 + (64 - __builtin_clzll(low)) / 8;
      p -= 8;
    }
    while (p > floor && p[-1] >= 0x80) --p;
    return p;
  }

  explicit BoundaryCursor(const char* start)
      : readable_(reinterpret_cast<const unsigned char*>(start)), boundary_(readable_) {}

  // Scanning goes on from a new origin, a known boundary at or after the last one asked about,
  // in the same text.
  void restart(const char* origin) { boundary_ = reinterpret_cast<const unsigned char*>(origin); }

  bool is_boundary(const char* position) {
    const auto* p = reinterpret_cast<const unsigned char*>(position);
    // After a single-byte character (or a trail byte) a character always starts.
    if (p == boundary_ || p[-1] < 0x80) {  // p > boundary_ >= the text's start in the second test
      boundary_ = p;
      return true;
    }
    const unsigned char* q = run_start(p);
    const bool on_boundary = ((p - q) & 1) == 0;
    boundary_ = on_boundary ? p : p - 1;
    return on_boundary;
  }

 private:
  // As last_run_start from the last boundary, but a last stretch shorter than 16 bytes is read
  // as one block when the text holds 16 bytes before p: a line of Chinese text reaches back to
  // the boundary after its line break.
  const unsigned char* run_start(const unsigned char* p) const {
#if defined(__SSE2__)
    while (p - boundary_ >= 16) {
      const auto high = static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 16))));
      if (high != 0xFFFF) return p - 16 + (32 - __builtin_clz(~high & 0xFFFF));
      p -= 16;
    }
    if (p > boundary_ && p - readable_ >= 16) {
      // The bytes below the boundary count as the end of the run.
      const auto below = static_cast<unsigned>(boundary_ - (p - 16));
      auto high = static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 16))));
      high &= ~((1u << below) - 1);
      return p - 16 + (32 - __builtin_clz(~high & 0xFFFF));
    }
#endif
    return last_run_start(boundary_, p);
  }

  const unsigned char* readable_;  // the text's first byte
  const unsigned char* boundary_;
};

}  // namespace quillet::text

// Fast scanning shared by the text commands: runs of ASCII and of high bytes, and a subtext
// finder that only reports matches starting on a character boundary.
//
// Double-byte contract: as in text_value.h. A match counts only where a character starts as
// seen from the finder's origin; the subtext's own bytes are compared as bytes (exactly, or
// with A-Z folded onto a-z wherever they stand).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/text_value.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet::text {

// First byte >= 0x80 in [p, end), or end.
const char* skip_ascii(const char* p, const char* end);
// First byte < 0x80 in [p, end), or end.
const char* skip_high(const char* p, const char* end);

// First byte equal to a or b in [p, end), or end.
const char* find_either(const char* p, const char* end, unsigned char a, unsigned char b);
// Bit i set where p[i] may start a space (0x20, or A1 followed by A1) or is the byte extra, for
// the 16 places from p; p[0] to p[16] must be readable. Bytes only: whether a place starts a
// character is the caller's check.
inline unsigned space_or_mask16(const char* p, unsigned char extra) {
#if defined(__SSE2__)
  // A1 alone is the lead of much of the punctuation in Chinese text: only A1 A1 counts.
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
  const __m128i wide = _mm_set1_epi8(static_cast<char>(0xA1));
  const __m128i hit = _mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(extra)))),
      _mm_and_si128(_mm_cmpeq_epi8(bytes, wide), _mm_cmpeq_epi8(next, wide)));
  return static_cast<unsigned>(_mm_movemask_epi8(hit));
#else
  unsigned mask = 0;
  for (int i = 0; i < 16; ++i) {
    const auto byte = static_cast<unsigned char>(p[i]);
    if (byte == ' ' || byte == extra || (byte == 0xA1 && static_cast<unsigned char>(p[i + 1]) == 0xA1)) mask |= 1u << i;
  }
  return mask;
#endif
}

// The first place in [p, end) that may start a space or holds the byte extra (as above), or end.
const char* find_space_or(const char* p, const char* end, unsigned char extra);

// The start of the run of high bytes that ends at p, looking back no further than begin.
inline const char* high_run_start(const char* begin, const char* p) {
  return reinterpret_cast<const char*>(BoundaryCursor::last_run_start(reinterpret_cast<const unsigned char*>(begin),
                                                                      reinterpret_cast<const unsigned char*>(p)));
}

// True when [begin, end) ends in a lead byte without its trail.
inline bool ends_with_lone_lead(const char* begin, const char* end) { return ((end - high_run_start(begin, end)) & 1) != 0; }

// Is p a character boundary as seen from begin? Looks back over the high bytes before p only.
inline bool is_boundary_from(const char* begin, const char* p) { return ((p - high_run_start(begin, p)) & 1) == 0; }

// Goes through a text in blocks of 64 bytes, in order, and tells for each which bytes are
// trail bytes (seen from the text's first byte) and where given bytes stand: for whole-text
// passes that look for many places, without working out each one's character boundary on its
// own. Bit i of a mask stands for byte i of the block; the bytes after the text count as 0.
class BlockScanner {
 public:
  static constexpr std::size_t kBlock = 64;

  BlockScanner(const char* begin, const char* end) : block_(begin), end_(end), bytes_(begin) {
    if (!done()) load();
  }

  bool done() const { return block_ >= end_; }
  const char* block() const { return block_; }
  std::uint64_t trails() const { return trails_; }
  // Bytes equal to byte, and bytes followed by one equal to byte (the byte after the block
  // included).
  std::uint64_t equal(unsigned char byte) const { return mask(bytes_, byte); }
  std::uint64_t followed_by(unsigned char byte) const { return mask(bytes_ + 1, byte); }
  void advance() {
    block_ += kBlock;
    if (!done()) load();
  }

 private:
  static std::uint64_t mask(const char* bytes, unsigned char byte) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(static_cast<char>(byte));
    std::uint64_t bits = 0;
    for (int i = 0; i < 4; ++i) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
      bits |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, wanted))))
              << (16 * i);
    }
    return bits;
#else
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < kBlock; ++i) {
      if (static_cast<unsigned char>(bytes[i]) == byte) bits |= std::uint64_t{1} << i;
    }
    return bits;
#endif
  }
  void load();

  const char* block_;
  const char* end_;
  const char* bytes_;  // the block's bytes and the one after: the text, or tail_ at the end
  alignas(16) char tail_[kBlock + 16];
  std::uint64_t trails_ = 0;
  std::uint64_t carry_ = 0;  // the next block starts with a trail byte
};

// The line breaks ("\r\n" whose CR starts a character, seen from the text's first byte) of a
// text, in order; every one of them, so each is also where a scan that restarts after the
// previous one finds it.
class LineBreaks {
 public:
  LineBreaks(const char* begin, const char* end) : scanner_(begin, end) { take_block(); }
  // The first line break at or after from, or null.
  const char* next(const char* from);

 private:
  void take_block();

  BlockScanner scanner_;
  std::uint64_t breaks_ = 0;
};

// Finds a non-empty subtext in [origin, end) at character boundaries seen from origin.
// Successive calls must ask from positions that never move backwards; restart() begins a new
// pairing origin (after a replacement or a separator, where the scan resumes as at a start).
class SubtextFinder {
 public:
  SubtextFinder(const char* origin, const char* end, std::string_view subtext, bool ignore_case);

  // The first match at or after from, or null.
  const char* next(const char* from);
  void restart(const char* origin) { cursor_.restart(origin); }

 private:
  const char* next_candidate(const char* from) const;

  const char* end_;
  const char* last_start_;  // the last place a match can start (may lie before origin)
  std::string_view subtext_;
  bool ignore_case_;
  unsigned char first_;
  unsigned char last_;
  BoundaryCursor cursor_;
};

// The first boundary match of subtext (non-empty) in [begin, end), or null.
const char* find_on_boundary(const char* begin, const char* end, std::string_view subtext, bool ignore_case = false);

}  // namespace quillet::text

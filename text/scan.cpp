#include "text/scan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet::text {
namespace {

#if defined(__SSE2__)
inline __m128i load16(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// A-Z onto a-z in 16 bytes at once: (b - 'A') < 26 as an unsigned test, done signed by
// shifting the range to the bottom of the signed bytes.
inline __m128i fold16(__m128i bytes) {
  const __m128i shifted = _mm_add_epi8(bytes, _mm_set1_epi8(static_cast<char>(0x80 - 'A')));
  const __m128i is_upper = _mm_cmplt_epi8(shifted, _mm_set1_epi8(static_cast<char>(0x80 + 26)));
  return _mm_or_si128(bytes, _mm_and_si128(is_upper, _mm_set1_epi8(0x20)));
}
#endif

bool equal_bytes(const char* a, const char* b, std::size_t count, bool ignore_case) {
  return ignore_case ? equal_folded(a, b, count) : std::memcmp(a, b, count) == 0;
}

}  // namespace

const char* skip_ascii(const char* p, const char* end) {
#if defined(__SSE2__)
  for (; end - p >= 16; p += 16) {
    const int high = _mm_movemask_epi8(load16(p));
    if (high != 0) return p + __builtin_ctz(static_cast<unsigned>(high));
  }
#endif
  while (p < end && !is_lead_byte(*p)) ++p;
  return p;
}

const char* skip_high(const char* p, const char* end) {
#if defined(__SSE2__)
  for (; end - p >= 16; p += 16) {
    const int low = ~_mm_movemask_epi8(load16(p)) & 0xFFFF;
    if (low != 0) return p + __builtin_ctz(static_cast<unsigned>(low));
  }
#endif
  while (p < end && is_lead_byte(*p)) ++p;
  return p;
}

const char* find_either(const char* p, const char* end, unsigned char a, unsigned char b) {
#if defined(__SSE2__)
  const __m128i wanted_a = _mm_set1_epi8(static_cast<char>(a));
  const __m128i wanted_b = _mm_set1_epi8(static_cast<char>(b));
  for (; end - p >= 16; p += 16) {
    const __m128i bytes = load16(p);
    const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, wanted_a), _mm_cmpeq_epi8(bytes, wanted_b)));
    if (hits != 0) return p + __builtin_ctz(static_cast<unsigned>(hits));
  }
#endif
  while (p < end && static_cast<unsigned char>(*p) != a && static_cast<unsigned char>(*p) != b) ++p;
  return p;
}

const char* find_space_or(const char* p, const char* end, unsigned char extra) {
  for (; end - p >= 17; p += 16) {
    const unsigned hits = space_or_mask16(p, extra);
    if (hits != 0) return p + __builtin_ctz(hits);
  }
  for (; p < end; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte == ' ' || byte == extra) return p;
    if (byte == 0xA1 && end - p >= 2 && static_cast<unsigned char>(p[1]) == 0xA1) return p;
  }
  return p;
}

namespace {

// Which bytes are trail bytes, for the 64 bytes whose high bytes (0x80-0xFF) are high. A run of
// high bytes that starts a character alternates lead and trail, and the byte after a run of
// odd length is a trail too; carry says whether the first byte is a trail, and comes back
// saying it of the next block's first byte. (The run arithmetic is the one used to find
// escaped characters after runs of backslashes.)
std::uint64_t trail_bytes(std::uint64_t high, std::uint64_t& carry) {
  constexpr std::uint64_t kEven = 0x5555555555555555ULL;
  high &= ~carry;  // a trail byte leads nothing
  const std::uint64_t follows_lead = high << 1 | carry;
  const std::uint64_t odd_starts = high & ~kEven & ~follows_lead;
  std::uint64_t even_sequences = 0;
  carry = __builtin_add_overflow(odd_starts, high, &even_sequences) ? 1 : 0;
  return (kEven ^ (even_sequences << 1)) & follows_lead;
}

std::uint64_t high_bytes(const char* bytes) {
#if defined(__SSE2__)
  std::uint64_t mask = 0;
  for (int i = 0; i < 4; ++i) {
    mask |= static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(load16(bytes + 16 * i)))) << (16 * i);
  }
  return mask;
#else
  std::uint64_t mask = 0;
  for (int i = 0; i < 64; ++i) {
    if (is_lead_byte(bytes[i])) mask |= std::uint64_t{1} << i;
  }
  return mask;
#endif
}

}  // namespace

void BlockScanner::load() {
  // A full block is read in place, with the byte after it when there is one; the last blocks
  // are copied out with zeros behind them.
  if (static_cast<std::size_t>(end_ - block_) > kBlock) {
    bytes_ = block_;
  } else {
    std::memset(tail_, 0, sizeof tail_);
    std::memcpy(tail_, block_, static_cast<std::size_t>(end_ - block_));
    bytes_ = tail_;
  }
  trails_ = trail_bytes(high_bytes(bytes_), carry_);
}

void LineBreaks::take_block() {
  if (scanner_.done()) return;
  breaks_ = scanner_.equal('\r') & scanner_.followed_by('\n') & ~scanner_.trails();
}

const char* LineBreaks::next(const char* from) {
  while (!scanner_.done()) {
    const char* block = scanner_.block();
    if (from > block) breaks_ &= from - block >= 64 ? 0 : ~std::uint64_t{0} << (from - block);
    if (breaks_ != 0) return block + __builtin_ctzll(breaks_);
    scanner_.advance();
    take_block();
  }
  return nullptr;
}

namespace {
bool has_letter(std::string_view bytes) {
  for (const char byte : bytes) {
    if (fold_case(static_cast<unsigned char>(byte)) != static_cast<unsigned char>(byte) ||
        (byte >= 'a' && byte <= 'z')) {
      return true;
    }
  }
  return false;
}
}  // namespace

// Folding changes nothing for a subtext without ASCII letters: no byte of the text folds onto
// one of its bytes unless it is that byte.
SubtextFinder::SubtextFinder(const char* origin, const char* end, std::string_view subtext, bool ignore_case)
    : end_(end),
      last_start_(end - subtext.size()),
      subtext_(subtext),
      ignore_case_(ignore_case && has_letter(subtext)),
      first_(static_cast<unsigned char>(subtext.front())),
      last_(static_cast<unsigned char>(subtext.back())),
      cursor_(origin) {
  if (ignore_case_) {
    first_ = fold_case(first_);
    last_ = fold_case(last_);
  }
}

// Candidates are places where the first and the last byte of the subtext both match; only
// those are compared in full. The pair filter keeps Chinese text, where a single lead byte
// repeats often, from turning into a byte-by-byte compare.
const char* SubtextFinder::next_candidate(const char* from) const {
  const std::size_t m = subtext_.size();
  const char* p = from;
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi8(static_cast<char>(first_));
  const __m128i last = _mm_set1_epi8(static_cast<char>(last_));
  for (; last_start_ - p >= 15; p += 16) {
    __m128i head = load16(p);
    __m128i tail = load16(p + m - 1);
    if (ignore_case_) {
      head = fold16(head);
      tail = fold16(tail);
    }
    unsigned hits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(head, first), _mm_cmpeq_epi8(tail, last))));
    while (hits != 0) {
      const char* candidate = p + __builtin_ctz(hits);
      if (m <= 2 || equal_bytes(candidate + 1, subtext_.data() + 1, m - 2, ignore_case_)) return candidate;
      hits &= hits - 1;
    }
  }
#endif
  for (; p <= last_start_; ++p) {
    const auto head = static_cast<unsigned char>(p[0]);
    const auto tail = static_cast<unsigned char>(p[m - 1]);
    if ((ignore_case_ ? fold_case(head) : head) != first_) continue;
    if ((ignore_case_ ? fold_case(tail) : tail) != last_) continue;
    if (m <= 2 || equal_bytes(p + 1, subtext_.data() + 1, m - 2, ignore_case_)) return p;
  }
  return nullptr;
}

const char* SubtextFinder::next(const char* from) {
  if (end_ - from < static_cast<std::ptrdiff_t>(subtext_.size())) return nullptr;
  for (;;) {
    const char* candidate = next_candidate(from);
    if (candidate == nullptr) return nullptr;
    if (cursor_.is_boundary(candidate)) return candidate;
    from = candidate + 1;
  }
}

const char* find_on_boundary(const char* begin, const char* end, std::string_view subtext, bool ignore_case) {
  if (subtext.empty()) return nullptr;
  SubtextFinder finder(begin, end, subtext, ignore_case);
  return finder.next(begin);
}

}  // namespace quillet::text

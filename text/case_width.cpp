#include "text/case_width.h"

#include <array>
#include <cstring>

#include "runtime/memory.h"
#include "text/scan.h"
#include "text/text_builder.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillet::text {
namespace {

// Converts the letters of one case in an all-ASCII range, in place. first is 'a' for upper
// case, 'A' for lower case; the change is the 0x20 bit either way.
void convert_ascii_case(char* p, char* end, char first) {
#if defined(__SSE2__)
  const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - first));
  const __m128i limit = _mm_set1_epi8(static_cast<char>(0x80 + 26));
  const __m128i bit = _mm_set1_epi8(0x20);
  for (; end - p >= 16; p += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i letter = _mm_cmplt_epi8(_mm_add_epi8(bytes, shift), limit);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_xor_si128(bytes, _mm_and_si128(letter, bit)));
  }
#endif
  for (; p < end; ++p) {
    if (static_cast<unsigned char>(*p - first) < 26u) *p = static_cast<char>(*p ^ 0x20);
  }
}

#if defined(__SSE2__)
// The second bytes of pairs among 64 bytes, from their high bytes (bit i set: byte i is 0x80 or
// above) and carry, set when the first of them is the second byte of a pair begun before and
// left set when the next 64 begin so. A byte is a second byte exactly when an odd number of
// high bytes stands right before it, counted from where their run began between characters: a
// run pairs up from its start. The odd runs are found by adding their starts to the high bytes,
// as a carry chain runs through each.
std::uint64_t second_bytes(std::uint64_t high, std::uint64_t& carry) {
  high &= ~carry;  // a second byte is no first byte, whatever its value
  const std::uint64_t follows_high = high << 1 | carry;
  constexpr std::uint64_t kEvenBits = 0x5555555555555555ULL;
  const std::uint64_t odd_starts = high & ~kEvenBits & ~follows_high;
  std::uint64_t runs_from_even = 0;
  carry = __builtin_add_overflow(odd_starts, high, &runs_from_even) ? 1 : 0;
  return (kEvenBits ^ (runs_from_even << 1)) & follows_high;
}

std::uint64_t mask_of(__m128i bytes) { return static_cast<std::uint32_t>(_mm_movemask_epi8(bytes)); }
#endif

void convert_case_in_place(char* out, std::size_t count, char first) {
  char* end = out + count;
  char* p = out;
#if defined(__SSE2__)
  // 64 bytes at a time: every letter converted, then the letters that are second bytes of
  // pairs put back.
  const __m128i shift = _mm_set1_epi8(static_cast<char>(0x80 - first));
  const __m128i limit = _mm_set1_epi8(static_cast<char>(0x80 + 26));
  const __m128i bit = _mm_set1_epi8(0x20);
  std::uint64_t carry = 0;
  for (; end - p >= 64; p += 64) {
    std::uint64_t high = 0, letters = 0;
    for (int k = 0; k < 4; ++k) {
      auto* at = reinterpret_cast<__m128i*>(p + 16 * k);
      const __m128i bytes = _mm_loadu_si128(at);
      const __m128i letter = _mm_cmplt_epi8(_mm_add_epi8(bytes, shift), limit);
      high |= mask_of(bytes) << (16 * k);
      letters |= mask_of(letter) << (16 * k);
      _mm_storeu_si128(at, _mm_xor_si128(bytes, _mm_and_si128(letter, bit)));
    }
    for (std::uint64_t undo = letters & second_bytes(high, carry); undo != 0; undo &= undo - 1) {
      p[__builtin_ctzll(undo)] ^= 0x20;
    }
  }
  if (carry != 0 && p < end) ++p;  // the second byte of a pair begun before
#endif
  // Alternate between runs of ASCII, converted, and runs of high bytes, which pair up from the
  // run's start: an odd run ends in a lead byte whose trail (below 0x80) stays as it is.
  while (p < end) {
    char* high = const_cast<char*>(skip_ascii(p, end));
    convert_ascii_case(p, high, first);
    char* low = const_cast<char*>(skip_high(high, end));
    p = (low - high) % 2 == 1 && low < end ? low + 1 : low;
  }
}

char* convert_case(std::string_view text, char first) {
  if (text.empty()) return nullptr;
  char* out = make_text(text);
  convert_case_in_place(out, text.size(), first);
  return out;
}

struct FullWidthForm {
  unsigned char bytes[2];
  unsigned char width;
};

constexpr std::array<FullWidthForm, 128> make_full_width_table() {
  std::array<FullWidthForm, 128> table{};
  for (int c = 0; c < 128; ++c) {
    if (c == ' ') {
      table[c] = {{0xA1, 0xA1}, 2};
    } else if (c == '~') {
      table[c] = {{0xA1, 0xAB}, 2};
    } else if (c >= 0x21 && c <= 0x7D) {
      table[c] = {{0xA3, static_cast<unsigned char>(c + 0x80)}, 2};
    } else {
      table[c] = {{static_cast<unsigned char>(c), 0}, 1};
    }
  }
  return table;
}
constexpr std::array<FullWidthForm, 128> kFullWidth = make_full_width_table();

}  // namespace

char* to_upper(std::string_view text) { return convert_case(text, 'a'); }
char* to_lower(std::string_view text) { return convert_case(text, 'A'); }
void upper_in_place(char* bytes, std::size_t count) { convert_case_in_place(bytes, count, 'a'); }
void lower_in_place(char* bytes, std::size_t count) { convert_case_in_place(bytes, count, 'A'); }

namespace {

// The full-width conversion of text written to out (room for 2 * size + 1 bytes: a stray write
// may land one past the last byte written), or, with out null, only counted. The count of bytes.
std::size_t full_width_into(std::string_view text, char* out) {
  const char* p = text.data();
  const char* end = p + text.size();
  std::size_t written = 0;
  while (p < end) {
    const char* high = skip_ascii(p, end);
    if (out == nullptr) {
      for (; p < high; ++p) written += kFullWidth[static_cast<unsigned char>(*p)].width;
    } else {
      for (; p < high; ++p) {
        // Always store two bytes; advance by the form's width.
        const FullWidthForm& form = kFullWidth[static_cast<unsigned char>(*p)];
        out[written] = static_cast<char>(form.bytes[0]);
        out[written + 1] = static_cast<char>(form.bytes[1]);
        written += form.width;
      }
    }
    // Pairs of high bytes stay; an odd run's last lead takes the next byte (below 0x80) as its
    // trail, or is dropped when it is the last byte of the text.
    const char* low = skip_high(high, end);
    const char* copied_to = low;
    if (((low - high) & 1) != 0) copied_to = low == end ? end - 1 : low + 1;
    if (out != nullptr) std::memcpy(out + written, high, static_cast<std::size_t>(copied_to - high));
    written += static_cast<std::size_t>(copied_to - high);
    p = low == end ? end : copied_to;
  }
  return written;
}

}  // namespace

std::size_t full_width_size(std::string_view text) { return full_width_into(text, nullptr); }

std::size_t write_full_width(std::string_view text, char* out) { return full_width_into(text, out); }

char* to_full_width(std::string_view text) {
  TextBuilder out;
  char* data = out.reserve(2 * text.size() + 1);  // the most it can become, plus room for a stray write
  return make_text(data, write_full_width(text, data));
}

std::size_t write_half_width(std::string_view text, char* out) {
  const char* p = text.data();
  const char* end = p + text.size();
  char* o = out;
  while (p < end) {
    const char* high = skip_ascii(p, end);
    std::memcpy(o, p, static_cast<std::size_t>(high - p));
    o += high - p;
    p = high;
    // One double-byte character at a time until the next single-byte character.
    while (p < end && is_lead_byte(*p)) {
      if (end - p < 2) {
        p = end;  // a lone lead byte at the end is dropped
        break;
      }
      const auto lead = static_cast<unsigned char>(p[0]);
      const auto trail = static_cast<unsigned char>(p[1]);
      // Only A1 and A3 lead characters that change; (lead | 2) == A3 picks both in one test.
      if ((lead | 2) != 0xA3) {
        std::memcpy(o, p, 2);
        o += 2;
      } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
        *o++ = static_cast<char>(trail - 0x80);
      } else if (lead == 0xA1 && trail == 0xA1) {
        *o++ = ' ';
      } else if (lead == 0xA1 && trail == 0xAB) {
        *o++ = '~';
      } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
        *o++ = '*';
      } else {
        std::memcpy(o, p, 2);
        o += 2;
      }
      p += 2;
    }
  }
  return static_cast<std::size_t>(o - out);
}

char* to_half_width(std::string_view text) {
  if (text.empty()) return nullptr;
  TextBuilder out;
  char* data = out.reserve(text.size());
  return make_text(data, write_half_width(text, data));
}

void ToUpper(ValueRecord* result, std::int32_t, ValueRecord* args) { return_text(result, to_upper(text_argument(args[0]))); }
void ToLower(ValueRecord* result, std::int32_t, ValueRecord* args) { return_text(result, to_lower(text_argument(args[0]))); }
void ToFullWidth(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_text(result, to_full_width(text_argument(args[0])));
}
void ToHalfWidth(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_text(result, to_half_width(text_argument(args[0])));
}

}  // namespace quillet::text

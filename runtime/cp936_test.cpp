// The codec's rules with a table generated from the C library's CP936 converter: mapping by
// table, raw bytes for what is no character, and offsets. The table of the system itself is
// checked under Wine (cp936_win32_test.cpp).
#include "runtime/cp936.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <string>

namespace quillet::runtime {
namespace {

char16_t iconv_unit(iconv_t converter, const char* bytes, std::size_t count) {
  char input[2] = {bytes[0], count > 1 ? bytes[1] : '\0'};
  char* in = input;
  std::size_t in_left = count;
  char16_t output[4] = {};
  char* out = reinterpret_cast<char*>(output);
  std::size_t out_left = sizeof output;
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  if (iconv(converter, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1) || in_left != 0) return 0;
  return sizeof output - out_left == 2 ? output[0] : 0;
}

const Cp936Codec& codec() {
  static const Cp936Codec generated = [] {
    Cp936Codec::Table table;
    iconv_t converter = iconv_open("UTF-16LE", "CP936");
    EXPECT_NE(converter, reinterpret_cast<iconv_t>(-1));
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
      const char single = static_cast<char>(b);
      table.single[b - 0x80] = iconv_unit(converter, &single, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        table.pairs[(lead - 0x81) * 256 + trail] = iconv_unit(converter, pair, 2);
      }
    }
    iconv_close(converter);
    return Cp936Codec(table);
  }();
  return generated;
}

TEST(Cp936CodecNative, CharactersAndStrayBytes) {
  EXPECT_EQ(codec().decode("a\xD6\xD0"), u"a\u4E2D");  // a中
  EXPECT_EQ(codec().decode("\xB0\r"), std::u16string({static_cast<char16_t>(0xF7B0), u'\r'}));
  EXPECT_EQ(codec().encode(u"\u4E2D\uF7FF"), "\xD6\xD0\xFF");
  EXPECT_EQ(codec().encode(u"\U0001F600"), "??");
  EXPECT_TRUE(codec().reserved_range_is_free());
}

// The codec reads only the view it is given: a lead byte at the end of the view is a raw byte,
// even when its trail follows in memory.
TEST(Cp936CodecNative, ALeadByteAtTheEndOfTheViewIsARawByte) {
  const char buffer[] = "\xD6\xD0";
  const std::string_view first(buffer, 1);
  EXPECT_EQ(codec().decode(first), std::u16string(1, static_cast<char16_t>(0xF7D6)));
  char16_t out[2] = {u'x', u'x'};
  EXPECT_EQ(codec().decode_into(first, out), 1u);
  EXPECT_EQ(out[0], 0xF7D6);
  EXPECT_EQ(out[1], u'x');
  EXPECT_EQ(codec().units_before(first, 1), 1u);
  EXPECT_EQ(codec().bytes_before(first, 1), 1u);
  EXPECT_EQ(codec().units_before(first, 5), 1u);
}

// The first and last lead bytes of the double-byte range with the first trail byte.
TEST(Cp936CodecNative, LeadBytesAtBothEndsOfTheRangeDecodeToCharacters) {
  EXPECT_EQ(codec().decode("\x81\x40"), u"\u4E02");  // 丂
  EXPECT_EQ(codec().decode("\xFE\x40"), u"\uFA0C");  // 兀 (compatibility)
  EXPECT_EQ(codec().encode(u"\u4E02\uFA0C"), "\x81\x40\xFE\x40");
  // One past either end is no lead byte: 0x80 is the euro sign on its own, 0xFF a raw byte.
  EXPECT_EQ(codec().decode("\x80\x40"), u"\u20AC@");
  EXPECT_EQ(codec().decode("\xFF\x40"), std::u16string({static_cast<char16_t>(0xF7FF), u'@'}));
}

// What the code page cannot hold: characters without bytes (Korean, emoji as a surrogate
// pair, a lone surrogate), while the raw-byte units of a file encode back to their bytes.
TEST(Cp936CodecNative, CharactersTheCodePageCannotHold) {
  EXPECT_TRUE(codec().holds(u'a'));
  EXPECT_TRUE(codec().holds(u'\u007F'));
  EXPECT_FALSE(codec().holds(u'\u0080'));  // the first unit past ASCII is no character of the code page
  EXPECT_TRUE(codec().holds(u'\u4E2D'));   // 中
  EXPECT_TRUE(codec().holds(u'\u20AC'));   // the euro sign, 0x80
  EXPECT_FALSE(codec().holds(u'\uD55C'));  // 한
  EXPECT_FALSE(codec().holds(static_cast<char16_t>(0xF7B0)));  // a raw byte is no character
  EXPECT_TRUE(Cp936Codec::is_raw_byte(static_cast<char16_t>(0xF780)));
  EXPECT_TRUE(Cp936Codec::is_raw_byte(static_cast<char16_t>(0xF7FF)));
  EXPECT_FALSE(Cp936Codec::is_raw_byte(static_cast<char16_t>(0xF77F)));
  EXPECT_FALSE(Cp936Codec::is_raw_byte(static_cast<char16_t>(0xF800)));
  std::u16string text = u"a\uD55C\u4E2D\U0001F600\uD55C\uF7B0?b";
  text[text.size() - 2] = static_cast<char16_t>(0xDC00);  // a lone trailing surrogate
  EXPECT_EQ(codec().lost_in_encoding(text), (std::u32string{0xD55C, 0x1F600, 0xDC00}));
  EXPECT_EQ(codec().encode(text), "a?\xD6\xD0???\xB0?b");
  EXPECT_EQ(codec().lost_in_encoding(u"\u4E2D\uF7FFz"), U"");
  EXPECT_EQ(codec().lost_in_encoding(text, true), (std::u32string{0xD55C, 0x1F600, 0xF7B0, 0xDC00}));
  EXPECT_EQ(code_point_list(U"\uD55C\U0001F600\u00E9"), "U+D55C\xA1\xA2U+1F600\xA1\xA2U+00E9");  // 、
  EXPECT_EQ(code_point_list(U""), "");
}

// A table may give one character two byte forms (code page 936 itself has the euro sign as 80
// and as A2 E3): the first form, in byte order, is the one it encodes as, and widths and
// offsets count that form.
TEST(Cp936CodecNative, ACharacterWithTwoFormsEncodesAsTheFirst) {
  Cp936Codec::Table table;
  table.single[0] = u'\u20AC';                            // 80
  table.single[0x7E] = u'\u20AC';                         // FE, after it
  table.single[0x7F] = u'\uF8F5';                         // FF, the last single byte
  table.pairs[(0xA2 - 0x81) * 256 + 0xE3] = u'\u20AC';    // A2 E3
  table.pairs[(0xB0 - 0x81) * 256 + 0xA1] = u'\u554A';    // B0 A1
  table.pairs[(0xB0 - 0x81) * 256 + 0xA2] = u'\u554A';    // B0 A2, the same again
  const Cp936Codec twice(table);
  EXPECT_EQ(twice.encode(u"\u20AC\u554A"), "\x80\xB0\xA1");
  EXPECT_EQ(twice.decode("\xA2\xE3\xB0\xA2"), u"\u20AC\u554A");
  EXPECT_EQ(twice.encoded_size(u"\u20AC"), 1u);
  EXPECT_EQ(twice.encode(u"\uF8F5"), "\xFF");
  EXPECT_EQ(twice.encoded_size(u"\uF8F5"), 1u);
  EXPECT_EQ(twice.encoded_size(u"\u554A"), 2u);
  EXPECT_EQ(twice.units_within(u"\u20AC\u554Ax", 1), 1u);
  EXPECT_EQ(twice.units_within(u"\u20AC\u554Ax", 2), 1u);
  EXPECT_EQ(twice.units_within(u"\u20AC\u554Ax", 3), 2u);
}

TEST(Cp936CodecNative, AnyByteStringWithoutNulRoundTrips) {
  std::mt19937 rng(936);
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(rng() % 12, '\0');
    for (char& b : bytes) b = static_cast<char>(1 + rng() % 255);
    ASSERT_EQ(codec().encode(codec().decode(bytes)), bytes) << round;
  }
}

TEST(Cp936CodecNative, OffsetsMapThroughTheSameScan) {
  const std::string text = "a\xD6\xD0\xB0\rb";  // a, 中, a stray B0, CR, b: five units
  EXPECT_EQ(codec().decode(text).size(), 5u);
  EXPECT_EQ(codec().units_before(text, 0), 0u);
  EXPECT_EQ(codec().units_before(text, 1), 1u);
  EXPECT_EQ(codec().units_before(text, 2), 1u);  // inside 中: its start
  EXPECT_EQ(codec().units_before(text, 3), 2u);
  EXPECT_EQ(codec().units_before(text, 4), 3u);
  EXPECT_EQ(codec().units_before(text, 99), 5u);
  EXPECT_EQ(codec().bytes_before(text, 2), 3u);
  EXPECT_EQ(codec().bytes_before(text, 3), 4u);
  EXPECT_EQ(codec().bytes_before(text, 99), text.size());
  for (std::size_t units = 0; units <= 5; ++units) {
    EXPECT_EQ(codec().units_before(text, codec().bytes_before(text, units)), units);
  }
}

TEST(Cp936CodecNative, OffsetsFromTheUnitSideAgreeWithTheByteSide) {
  std::mt19937 rng(20);
  for (int round = 0; round < 5000; ++round) {
    std::string bytes(rng() % 16, '\0');
    for (char& b : bytes) b = static_cast<char>(1 + rng() % 255);
    const std::u16string units = codec().decode(bytes);
    ASSERT_EQ(codec().encoded_size(units), bytes.size()) << round;
    for (std::size_t offset = 0; offset <= bytes.size() + 1; ++offset) {
      ASSERT_EQ(codec().units_within(units, offset), codec().units_before(bytes, offset)) << round << " " << offset;
    }
    for (std::size_t count = 0; count <= units.size(); ++count) {
      ASSERT_EQ(codec().encoded_size(units.substr(0, count)), codec().bytes_before(bytes, count)) << round;
    }
  }
}

}  // namespace
}  // namespace quillet::runtime

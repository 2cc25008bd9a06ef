#include "text/case_width.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/literal_reference.h"
#include "text/text_test_support.h"

namespace quillet::text {
namespace {
using namespace literal;

const auto str = take_string;

TEST(CaseConversion, OnlyAsciiLettersOutsideDoubleByteCharacters) {
  EXPECT_EQ(str(to_upper("ab\x81\x61z")), "AB\x81\x61Z");
  EXPECT_EQ(str(to_lower("AB\x81\x41Z")), "ab\x81\x41z");
  EXPECT_EQ(to_lower(""), nullptr);
  EXPECT_EQ(str(to_upper("\xA3\xE1")), "\xA3\xE1");  // full-width letters have no case here
  EXPECT_EQ(str(to_upper("ab\xB0")), "AB\xB0");       // a lone lead byte stays
  EXPECT_EQ(str(to_lower("[@`{]")), "[@`{]");
}

TEST(WidthConversion, TablesAndExceptions) {
  EXPECT_EQ(str(to_full_width("\r\n")), "\r\n");
  EXPECT_EQ(str(to_full_width(" ~!Aa0$")), "\xA1\xA1\xA1\xAB\xA3\xA1\xA3\xC1\xA3\xE1\xA3\xB0\xA3\xA4");
  EXPECT_EQ(str(to_full_width("\t\x7F")), "\t\x7F");
  EXPECT_EQ(str(to_half_width("\xA3\xA4")), "$");
  EXPECT_EQ(str(to_half_width("\xA3\xFE")), "~");
  EXPECT_EQ(str(to_half_width("\xA1\xEE\xA1\xEF\xA1\xA1\xA1\xAB")), "** ~");
  EXPECT_EQ(str(to_half_width("\xB0\xA1\xB0\xA2")), "\xB0\xA1\xB0\xA2");
  EXPECT_EQ(str(to_half_width("\xA3\xA0\xA3\xFF")), "\xA3\xA0\xA3\xFF");
  EXPECT_EQ(str(to_full_width("ab\xB0")), "\xA3\xE1\xA3\xE2");  // lone lead dropped
  EXPECT_EQ(str(to_half_width("ab\xB0")), "ab");
  EXPECT_EQ(to_full_width(""), nullptr);
  // The ends of the range that A3 xx covers: ! is the first, } the last, ~ its own exception.
  EXPECT_EQ(str(to_full_width("!}~")), "\xA3\xA1\xA3\xFD\xA1\xAB");
  EXPECT_EQ(str(to_half_width("\xA3\xA1\xA3\xFD")), "!}");
}

TEST(WidthConversion, RoundTripOfPrintableAscii) {
  std::string printable;
  for (int c = 0x20; c <= 0x7E; ++c) printable += static_cast<char>(c);
  EXPECT_EQ(str(to_half_width(str(to_full_width(printable)))), printable);
}

TEST(ConversionAgainstLiteral, RandomMixedTexts) {
  std::mt19937 rng(4242);
  for (int round = 0; round < 20000; ++round) {
    std::string t = random_mixed_bytes(rng, rng() % 90);
    // Some long ASCII stretches so the 16-byte paths run too.
    if (round % 3 == 0) t.insert(rng() % (t.size() + 1), std::string(20 + rng() % 20, "aZ~ 9"[round % 5]));
    ASSERT_EQ(str(to_upper(t)), literal_case(t, true)) << round;
    ASSERT_EQ(str(to_lower(t)), literal_case(t, false)) << round;
    ASSERT_EQ(str(to_full_width(t)), literal_full(t)) << round;
    ASSERT_EQ(str(to_half_width(t)), literal_half(t)) << round;
  }
}

// Texts long enough for the 64-byte path, rich in runs of high bytes of every length that
// cross its block ends, against the character walk.
TEST(ConversionAgainstLiteral, LongTextsAcrossBlockEnds) {
  std::mt19937 rng(64);
  for (int round = 0; round < 4000; ++round) {
    std::string t;
    const std::size_t length = 60 + rng() % 300;
    while (t.size() < length) {
      const std::size_t run = rng() % 70;
      const char high = "\xB0\xA3\xC1\x80\xFF"[rng() % 5];
      t += rng() % 2 == 0 ? std::string(run, high) : random_mixed_bytes(rng, run);
      t += "aZq"[rng() % 3];
    }
    ASSERT_EQ(str(to_upper(t)), literal_case(t, true)) << round;
    ASSERT_EQ(str(to_lower(t)), literal_case(t, false)) << round;
  }
}

TEST(ConversionCommands, ThroughTheFrame) {
  EXPECT_STREQ(call::to_upper("abc").get(), "ABC");
  EXPECT_STREQ(call::to_lower("ABC").get(), "abc");
  EXPECT_STREQ(call::to_full_width("A").get(), "\xA3\xC1");
  EXPECT_STREQ(call::to_half_width("\xA3\xC1").get(), "A");
  EXPECT_EQ(call::to_upper(nullptr), nullptr);
}

}  // namespace
}  // namespace quillet::text

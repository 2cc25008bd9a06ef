#include "text/text_value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/memory.h"
#include "text/text_test_support.h"

namespace quillet::text {
namespace {

TEST(TextValue, EmptyTextIsNullInResultsAndAConstantAsArgument) {
  EXPECT_EQ(make_text("", 0), nullptr);
  EXPECT_EQ(copy_text(nullptr), nullptr);
  EXPECT_EQ(copy_text(""), nullptr);
  EXPECT_EQ(text_length(nullptr), 0u);
  EXPECT_EQ(as_argument(nullptr), kEmptyText);
  EXPECT_EQ(*as_argument(nullptr), '\0');
  EXPECT_TRUE(runtime::is_constant(kEmptyText));
  runtime::release(kEmptyText);  // harmless
}

TEST(TextValue, MadeTextsAreFreshTerminatedCopies) {
  const char source[] = "ab\xB0\xA1";
  char* copy = copy_text(source);
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, source);
  EXPECT_STREQ(copy, source);
  EXPECT_EQ(text_length(copy), 4u);
  EXPECT_FALSE(runtime::is_constant(copy));
  runtime::release(copy);

  char* cut = make_text("abcdef", 3);
  EXPECT_STREQ(cut, "abc");
  runtime::release(cut);
}

TEST(DoubleByteRules, EveryHighByteLeadsAndTakesAnyTrail) {
  const char text[] = "a\xB0\x41\xFF\xFF\xB0";
  const char* end = text + 6;
  EXPECT_EQ(char_width(text, end), 1u);
  EXPECT_EQ(char_width(text + 1, end), 2u);  // B0 41: the ASCII-range trail belongs to the lead
  EXPECT_EQ(char_width(text + 3, end), 2u);
  EXPECT_EQ(char_width(text + 5, end), 0u);  // lone lead before the end: incomplete
}

TEST(DoubleByteRules, SpacesAreAsciiAndFullWidthOnly) {
  const char text[] = " \xA1\xA1\t\xA1\xA2\r\n\xA1";
  const char* end = text + std::strlen(text);
  EXPECT_EQ(space_width(text, end), 1u);
  EXPECT_EQ(space_width(text + 1, end), 2u);
  EXPECT_EQ(space_width(text + 3, end), 0u);   // tab
  EXPECT_EQ(space_width(text + 4, end), 0u);   // A1 A2 is another character
  EXPECT_EQ(space_width(text + 6, end), 0u);   // CR
  EXPECT_EQ(space_width(text + 8, end), 0u);   // A1 at the end is incomplete, not a space
}

TEST(DoubleByteRules, FoldingTouchesOnlyAToZ) {
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    const unsigned char expected = (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + 32) : byte;
    ASSERT_EQ(fold_case(byte), expected) << b;
  }
  EXPECT_TRUE(equal_folded("ABC", "abc", 3));
  EXPECT_FALSE(equal_folded("\xA3\xC1", "\xA3\xE1", 2));  // full-width A and a differ
  EXPECT_TRUE(equal_folded("\xB0\x41", "\xB0\x61", 2));    // trail bytes fold like letters
  EXPECT_FALSE(equal_folded("[", "{", 1));
}

TEST(BoundaryCursor, AgreesWithSteppingFromTheStart) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 300; ++round) {
    const std::string bytes = random_mixed_bytes(rng, 1 + rng() % 64);
    const std::vector<bool> expected = boundaries_by_stepping(bytes);
    BoundaryCursor cursor(bytes.data());
    // Ask about an increasing series of positions with random gaps.
    for (std::size_t p = 0; p < bytes.size(); p += 1 + rng() % 3) {
      ASSERT_EQ(cursor.is_boundary(bytes.data() + p), expected[p]) << "round " << round << " at " << p;
    }
  }
}

TEST(BoundaryCursor, TrailBytesBelow0x80DoNotFoolIt) {
  const std::string bytes = "\xB0\x41\xB0\x41\x42";
  BoundaryCursor cursor(bytes.data());
  EXPECT_TRUE(cursor.is_boundary(bytes.data() + 0));
  EXPECT_FALSE(cursor.is_boundary(bytes.data() + 1));
  EXPECT_TRUE(cursor.is_boundary(bytes.data() + 2));
  EXPECT_FALSE(cursor.is_boundary(bytes.data() + 3));
  EXPECT_TRUE(cursor.is_boundary(bytes.data() + 4));
}

}  // namespace
}  // namespace quillet::text

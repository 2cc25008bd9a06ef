#include "text/text_value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/memory.h"

namespace quillet::text {
namespace {

// Boundaries the slow way: step from the start, one or two bytes at a time.
std::vector<bool> boundaries_by_stepping(const std::string& bytes) {
  std::vector<bool> boundary(bytes.size() + 1, false);
  std::size_t i = 0;
  while (i < bytes.size()) {
    boundary[i] = true;
    i += is_lead_byte(bytes[i]) ? 2 : 1;
  }
  if (i == bytes.size()) boundary[i] = true;
  return boundary;
}

std::string random_mixed_bytes(std::mt19937& rng, std::size_t size) {
  // Mostly lead bytes, some ASCII, some trail-range ASCII letters: the hard cases for pairing.
  static const unsigned char alphabet[] = {'a', 'A', ' ', '\r', '\n', 0x41, 0x61, 0xB0, 0xA1, 0xA3, 0xFF, 0x80, 0xC1};
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(alphabet[rng() % sizeof alphabet]);
  return bytes;
}

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

const char* find_in(const std::string& haystack, const std::string& needle, bool ignore_case = false) {
  return find_on_boundary(haystack.data(), haystack.data() + haystack.size(), needle.data(), needle.size(),
                          ignore_case);
}

TEST(FindOnBoundary, MatchesOnlyWhereACharacterStarts) {
  const std::string text = "\xB0\xA1\xB0\xA1";
  EXPECT_EQ(find_in(text, "\xA1\xB0"), nullptr);
  EXPECT_EQ(find_in(text, "\xB0\xA1"), text.data());
  const std::string shifted = "\xB0\x41" "A";  // the first A is a trail byte
  EXPECT_EQ(find_in(shifted, "A"), shifted.data() + 2);
  EXPECT_EQ(find_in("abc", "abcd"), nullptr);
  EXPECT_EQ(find_in("", "a"), nullptr);
}

TEST(FindOnBoundary, IgnoringCaseFoldsBothSides) {
  const std::string text = "xxABcab";
  EXPECT_EQ(find_in(text, "abc", true), text.data() + 2);
  EXPECT_EQ(find_in(text, "abc", false), nullptr);
  EXPECT_EQ(find_in(text, "CAB", true), text.data() + 4);
  EXPECT_EQ(find_in("\xA3\xC1", "\xA3\xE1", true), nullptr);
}

TEST(FindOnBoundary, AgreesWithANaiveScan) {
  std::mt19937 rng(777);
  for (int round = 0; round < 2000; ++round) {
    const std::string haystack = random_mixed_bytes(rng, rng() % 40);
    const std::string needle = random_mixed_bytes(rng, 1 + rng() % 3);
    const bool ignore_case = rng() % 2 == 0;
    const std::vector<bool> boundary = boundaries_by_stepping(haystack);
    const char* expected = nullptr;
    for (std::size_t p = 0; p + needle.size() <= haystack.size(); ++p) {
      const bool equal = ignore_case ? equal_folded(haystack.data() + p, needle.data(), needle.size())
                                     : haystack.compare(p, needle.size(), needle) == 0;
      if (boundary[p] && equal) {
        expected = haystack.data() + p;
        break;
      }
    }
    ASSERT_EQ(find_in(haystack, needle, ignore_case), expected) << "round " << round;
  }
}

}  // namespace
}  // namespace quillet::text

#include "text/scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/text_test_support.h"

namespace quillet::text {
namespace {

const char* find_in(const std::string& haystack, const std::string& needle, bool ignore_case = false) {
  return find_on_boundary(haystack.data(), haystack.data() + haystack.size(), needle, ignore_case);
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

TEST(Scan, SkipsRunsOfAsciiAndOfHighBytes) {
  const std::string text = std::string(37, 'a') + "\xB0\xA1\xB0" + std::string(20, 'b');
  const char* begin = text.data();
  const char* end = begin + text.size();
  EXPECT_EQ(skip_ascii(begin, end), begin + 37);
  EXPECT_EQ(skip_high(begin + 37, end), begin + 40);
  EXPECT_EQ(skip_ascii(begin + 40, end), end);
  EXPECT_EQ(skip_high(begin, end), begin);
  // High runs longer than one 16-byte block, ending in the second and third block.
  for (std::size_t run : {16u, 21u, 37u, 47u}) {
    const std::string high = std::string(run, '\xB0') + "x" + std::string(20, '\xB0');
    EXPECT_EQ(skip_high(high.data(), high.data() + high.size()), high.data() + run) << run;
  }
}

TEST(Scan, LoneLeadAndBoundaryLookBack) {
  EXPECT_TRUE(ends_with_lone_lead("a\xB0", "a\xB0" + 2));
  const std::string pairs = "\xB0\xA1\xB0";
  EXPECT_TRUE(ends_with_lone_lead(pairs.data(), pairs.data() + 3));
  EXPECT_FALSE(ends_with_lone_lead(pairs.data(), pairs.data() + 2));
  const std::string trail = "\xB0\x41";  // 41 is a trail byte
  EXPECT_FALSE(ends_with_lone_lead(trail.data(), trail.data() + 2));
  EXPECT_FALSE(is_boundary_from(trail.data(), trail.data() + 1));
  EXPECT_TRUE(is_boundary_from(trail.data(), trail.data() + 2));
}

TEST(SubtextFinder, LongTextsWithMatchesInEveryBlockPosition) {
  // Exercises the 16-byte blocks: a match at every offset of a block, after Chinese text whose
  // pairing the finder must carry across blocks.
  for (std::size_t prefix = 0; prefix < 40; ++prefix) {
    std::string text;
    for (std::size_t i = 0; i < prefix; ++i) text += "\xD6\xD0";
    text += "ab" + std::string(prefix % 7, 'x') + "\xD6\xD0Key";
    ASSERT_EQ(find_in(text, "\xD0Key"), nullptr) << prefix;  // D0 is always a trail here
    const char* found = find_in(text, "KEY", true);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(static_cast<std::size_t>(found - text.data()), text.size() - 3);
  }
}

// Texts of several blocks, where runs of high bytes cross from one block into the next: long
// runs of every length around 64, and the mixed alphabet.
std::string multi_block_text(std::mt19937& rng) {
  std::string text;
  const std::size_t target = 1 + rng() % 400;
  while (text.size() < target) {
    if (rng() % 4 == 0) {
      text.append(rng() % 140, static_cast<char>(0xB0 + rng() % 3));  // a run of lead-range bytes
    } else {
      text += random_mixed_bytes(rng, 1 + rng() % 20);
    }
  }
  return text;
}

TEST(BlockScanner, TrailBytesAgreeWithSteppingFromTheStart) {
  std::mt19937 rng(31);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = multi_block_text(rng);
    const std::vector<bool> starts = boundaries_by_stepping(text);
    std::size_t checked = 0;
    for (BlockScanner scanner(text.data(), text.data() + text.size()); !scanner.done(); scanner.advance()) {
      const std::size_t base = static_cast<std::size_t>(scanner.block() - text.data());
      for (std::size_t i = 0; i < 64 && base + i < text.size(); ++i, ++checked) {
        // A trail byte is one that follows a lead byte: not a boundary, or the byte after a
        // lone lead at the end.
        const bool trail = base + i > 0 && !starts[base + i];
        ASSERT_EQ(((scanner.trails() >> i) & 1) != 0, trail) << round << " at " << base + i;
        ASSERT_EQ(((scanner.equal('\r') >> i) & 1) != 0, text[base + i] == '\r');
      }
    }
    ASSERT_EQ(checked, text.size());
  }
}

TEST(LineBreaks, AreTheBoundaryMatchesOfCrLf) {
  std::mt19937 rng(32);
  for (int round = 0; round < 3000; ++round) {
    std::string text = multi_block_text(rng);
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
      if (rng() % 8 == 0) text.replace(i, 2, "\r\n");
    }
    std::vector<const char*> expected;
    const char* end = text.data() + text.size();
    for (const char* p = text.data(); (p = find_on_boundary(p, end, "\r\n")) != nullptr; p += 2) expected.push_back(p);
    std::vector<const char*> found;
    LineBreaks breaks(text.data(), end);
    for (const char* p = breaks.next(text.data()); p != nullptr; p = breaks.next(p + 2)) found.push_back(p);
    ASSERT_EQ(found, expected) << round;
  }
}

}  // namespace
}  // namespace quillet::text

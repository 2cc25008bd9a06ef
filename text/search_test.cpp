#include "text/search.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "text/literal_reference.h"
#include "text/text_test_support.h"

namespace quillet::text {
namespace {
using namespace literal;


const auto str = take_string;

std::vector<std::string> pieces_of(void* array) {
  OwnedBlockArray holder(array);
  std::vector<std::string> pieces;
  for (std::size_t i = 0; i < array_element_count(array); ++i) {
    const char* piece = text_array_elements(array)[i];
    pieces.push_back(piece != nullptr ? piece : "");
  }
  return pieces;
}

// ---- Edge cases ------------------------------------------------------------------------------

TEST(FindText, StartPositionsAndEmptySubtext) {
  EXPECT_EQ(find_text("ab\r\ncd\r\n", "\r\n\r\n"), -1);
  EXPECT_EQ(find_text("xaxa", "a", 0), 2);
  EXPECT_EQ(find_text("xaxa", "a", -7), 2);
  EXPECT_EQ(find_text("xaxa", "a", 3), 4);
  EXPECT_EQ(find_text("0123456789", "", 5), 1);
  EXPECT_EQ(find_text("", ""), -1);
  EXPECT_EQ(find_text("abc", "", 4), -1);
  EXPECT_EQ(find_text("abc", "c", 4), -1);
  EXPECT_EQ(find_text("\xB0\xA1\xB0\xA1", "\xA1\xB0"), -1);
  EXPECT_EQ(find_text("xABC", "abc", {}, true), 2);
  EXPECT_EQ(find_text("xABC", "abc", {}, false), -1);
}

TEST(FindText, StartInsideACharacterPairsFromThere) {
  // From byte 2 (the trail A1) the bytes pair as A1 B0, A1: the match is found there.
  EXPECT_EQ(find_text("\xB0\xA1\xB0\xA1", "\xA1\xB0", 2), 2);
}

// The folding of the 16-byte path reaches the last letter: Z in the second block.
TEST(FindText, IgnoringCaseFoldsZInTheBlockPath) {
  const std::string text = std::string(15, 'a') + "Z" + std::string(16, 'a');
  EXPECT_EQ(find_text(text, "z", std::nullopt, true), 16);
  EXPECT_EQ(find_text(text, "Z", std::nullopt, true), 16);
  EXPECT_EQ(find_text(std::string(31, 'a') + "z" + std::string(16, 'a'), "Z", std::nullopt, true), 32);
  EXPECT_EQ(find_text(text, "z", std::nullopt, false), -1);
}

TEST(FindTextReverse, MatchMustEndBeforeTheStart) {
  EXPECT_EQ(find_text_reverse("abab", "ab"), 3);
  EXPECT_EQ(find_text_reverse("abab", "ab", 4), 1);
  EXPECT_EQ(find_text_reverse("abab", "ab", 5), 3);
  EXPECT_EQ(find_text_reverse("abab", "ab", 1), -1);
  EXPECT_EQ(find_text_reverse("abab", "ab", 99), 3);
  EXPECT_EQ(find_text_reverse("aaa", "aa"), 2);  // overlapping matches count
  EXPECT_EQ(find_text_reverse("abc", ""), 1);
  EXPECT_EQ(find_text_reverse("", "a"), -1);
}

TEST(ReplaceSubtext, CaseStartAndCount) {
  EXPECT_EQ(str(replace_subtext("aAb", "a", "b")), "bbb");  // case-sensitive omitted: ignore case
  EXPECT_EQ(str(replace_subtext("aAb", "a", "b", {}, {}, true)), "bAb");
  EXPECT_EQ(str(replace_subtext("a-a-a-a", "a", "X", 2, 1, true)), "a-X-a-a");
  EXPECT_EQ(str(replace_subtext("aaaa", "a", "", {}, -5, true)), "");  // other negatives: all
  EXPECT_EQ(str(replace_subtext("abc", "b", "x", 9)), "abc");
  EXPECT_EQ(str(replace_subtext("abc", "", "x")), "abc");
  EXPECT_EQ(str(replace_subtext("abc", "b", "x", {}, 0)), "abc");
  EXPECT_EQ(replace_subtext("", "b", "x"), nullptr);
  EXPECT_EQ(str(replace_subtext("\xB0\x61" "a", "a", "!", {}, {}, true)), "\xB0\x61!");  // trail untouched
}

TEST(ReplaceSubtext, LoneLeadByteAtTheEnd) {
  EXPECT_EQ(str(replace_subtext("ab\xB0", "x", "y")), "ab");       // reached by the scan: dropped
  EXPECT_EQ(str(replace_subtext("ab\xB0", "xy", "z")), "ab\xB0");  // never reached: kept
  EXPECT_EQ(str(replace_subtext("ab\xB0", "a", "z", {}, 1)), "zb\xB0");
}

TEST(SplitText, PiecesAndTheTrailingRule) {
  using V = std::vector<std::string>;
  EXPECT_EQ(pieces_of(split_text("a,b,c")), (V{"a", "b", "c"}));
  EXPECT_EQ(pieces_of(split_text("a,,b")), (V{"a", "", "b"}));
  EXPECT_EQ(pieces_of(split_text(",a")), (V{"", "a"}));
  EXPECT_EQ(pieces_of(split_text("a,b,")), (V{"a", "b"}));
  EXPECT_EQ(pieces_of(split_text("a,b,c", ",", 2)), (V{"a", "b"}));
  EXPECT_EQ(pieces_of(split_text("a,b", ",", -3)), V{});
  EXPECT_EQ(pieces_of(split_text("")), V{});
  EXPECT_EQ(pieces_of(split_text("a,b", "")), (V{"a,b"}));
  EXPECT_EQ(pieces_of(split_text("l1\r\n\r\nl3", "\r\n")), (V{"l1", "", "l3"}));
}

TEST(CompareText, EqualityAndFolding) {
  EXPECT_EQ(compare_text("abc", "abc", true), 0);
  EXPECT_LT(compare_text("ab", "abc", true), 0);
  EXPECT_GT(compare_text("\xB0", "a", true), 0);  // unsigned bytes
  EXPECT_NE(compare_text("ABC", "abc", true), 0);
  EXPECT_EQ(compare_text("ABC", "abc", false), 0);
  EXPECT_NE(compare_text("\xB0\x41", "\xB0\x61", false), 0);  // trail bytes are not letters here
  // After a pair, the next byte starts a character again and is folded.
  EXPECT_EQ(compare_text("\xB0\xB0" "A", "\xB0\xB0" "a", false), 0);
  // Texts of different lengths: a longer text that the shorter one begins is greater.
  EXPECT_GT(compare_text("abc", "AB", false), 0);
  EXPECT_LT(compare_text("ab", "ABC", false), 0);
}

TEST(CutByPosition, CountsBytes) {
  EXPECT_EQ(str(left_text("\xB0\xA1", 1)), "\xB0");
  EXPECT_EQ(left_text("abc", 0), nullptr);
  EXPECT_EQ(str(left_text("abc", 10)), "abc");
  EXPECT_EQ(str(right_text("abcd", 2)), "cd");
  EXPECT_EQ(str(right_text("abcd", 9)), "abcd");
  EXPECT_EQ(right_text("abcd", -1), nullptr);
  EXPECT_EQ(str(mid_text("abcdef", 2, 3)), "bcd");
  EXPECT_EQ(str(mid_text("abcdef", 5, 30)), "ef");
  EXPECT_EQ(mid_text("abcdef", 7, 1), nullptr);
  EXPECT_EQ(mid_text("abcdef", 0, 1), nullptr);
  EXPECT_EQ(str(char_text(0x41)), "A");
  EXPECT_EQ(char_text(0), nullptr);
  EXPECT_EQ(str(space_text(3)), "   ");
  EXPECT_EQ(space_text(0), nullptr);
}

TEST(Trim, AsciiAndFullWidthSpacesOnly) {
  const std::string spaces = " \xA1\xA1 \xA1\xA1";
  EXPECT_EQ(trim_both(spaces), nullptr);
  EXPECT_EQ(str(trim_both(spaces + "a\tb" + spaces)), "a\tb");
  EXPECT_EQ(str(trim_leading(spaces + "x ")), "x ");
  EXPECT_EQ(str(trim_trailing(" x" + spaces)), " x");
  EXPECT_EQ(str(trim_leading("\xB0 x")), "\xB0 x");       // B0 20 is one character, not a space
  EXPECT_EQ(str(trim_trailing("x\xB0 ")), "x\xB0 ");      // likewise at the end
  EXPECT_EQ(str(trim_trailing("x  \xB0")), "x  ");        // lone lead dropped, spaces before it stay
  EXPECT_EQ(str(trim_trailing("\xB0\xA1\xA1")), "\xB0\xA1");  // B0 A1 then a lone A1, dropped
  EXPECT_EQ(str(remove_all_spaces(" a\xA1\xA1" "b\r\n\tc \xA1\xA2")), "ab\r\n\tc\xA1\xA2");
  EXPECT_EQ(str(remove_all_spaces("\xB0\xA1\xA1\xA1")), "\xB0\xA1");  // trail A1, then a space pair
  EXPECT_EQ(str(remove_all_spaces("a \xA1")), "a");
}

// ---- The fast implementations against the literal ones -------------------------------------

class AgainstLiteral : public testing::Test {
 protected:
  std::mt19937 rng{20261209};
  std::string random_text(std::size_t max) { return random_mixed_bytes(rng, rng() % (max + 1)); }
  Opt random_position() {
    if (rng() % 3 == 0) return std::nullopt;
    return static_cast<std::int32_t>(rng() % 50) - 5;
  }
};

TEST_F(AgainstLiteral, FindBothWays) {
  for (int round = 0; round < 20000; ++round) {
    const std::string t = random_text(70);
    const std::string s = random_text(3);
    const Opt start = random_position();
    const bool fold = rng() % 2 == 0;
    ASSERT_EQ(find_text(t, s, start, fold), literal_find(t, s, start, fold)) << round;
    ASSERT_EQ(find_text_reverse(t, s, start, fold), literal_find_reverse(t, s, start, fold)) << round;
  }
}

TEST_F(AgainstLiteral, ReplaceAndSplit) {
  for (int round = 0; round < 20000; ++round) {
    const std::string t = random_text(70);
    const std::string s = random_text(3);
    const std::string r = random_text(3);
    const Opt start = random_position();
    const Opt count = rng() % 2 == 0 ? std::nullopt : Opt(static_cast<std::int32_t>(rng() % 6) - 2);
    const bool case_sensitive = rng() % 2 == 0;
    ASSERT_EQ(str(replace_subtext(t, s, r, start, count, case_sensitive)),
              literal_replace(t, s, r, start, count, case_sensitive))
        << round;
    ASSERT_EQ(pieces_of(split_text(t, s, count)), literal_split(t, s, count)) << round;
  }
}

TEST_F(AgainstLiteral, Compare) {
  for (int round = 0; round < 20000; ++round) {
    const std::string a = random_text(6);
    // Often a copy with one byte changed, so that the texts share a prefix.
    std::string b = rng() % 2 == 0 ? random_text(6) : a;
    if (!b.empty() && b == a) b[rng() % b.size()] = random_text(1).append("a")[0];
    if (rng() % 4 == 0) b = b.substr(0, rng() % (b.size() + 1));
    const bool case_sensitive = rng() % 2 == 0;
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    ASSERT_EQ(sign(compare_text(a, b, case_sensitive)), sign(literal_compare(a, b, case_sensitive)))
        << round << " " << case_sensitive;
  }
}

TEST_F(AgainstLiteral, TrimAndRemoveSpaces) {
  for (int round = 0; round < 20000; ++round) {
    const std::string t = random_text(30);
    // Literal: walk the characters, drop the lone lead, note the spaces.
    std::vector<std::string> chars;
    for (std::size_t p = 0; p < t.size();) {
      const std::size_t width = is_lead_byte(t[p]) ? 2 : 1;
      if (p + width > t.size()) break;
      chars.push_back(t.substr(p, width));
      p += width;
    }
    const bool lone_lead = [&] {
      std::size_t n = 0;
      for (const auto& c : chars) n += c.size();
      return n < t.size();
    }();
    auto is_space = [](const std::string& c) { return c == " " || c == "\xA1\xA1"; };
    std::string removed, leading_trimmed, trailing_trimmed;
    std::size_t first = 0;
    while (first < chars.size() && is_space(chars[first])) ++first;
    std::size_t last = chars.size();
    while (last > 0 && is_space(chars[last - 1])) --last;
    for (const auto& c : chars) removed += is_space(c) ? "" : c;
    for (std::size_t i = 0; i < chars.size(); ++i) trailing_trimmed += i < last || lone_lead ? chars[i] : "";
    std::size_t leading_bytes = 0;
    for (std::size_t i = 0; i < first; ++i) leading_bytes += chars[i].size();
    leading_trimmed = t.substr(leading_bytes);
    ASSERT_EQ(str(remove_all_spaces(t)), removed) << round;
    ASSERT_EQ(str(trim_leading(t)), leading_trimmed) << round;
    ASSERT_EQ(str(trim_trailing(t)), trailing_trimmed) << round;
  }
}

// ---- Through the frame -------------------------------------------------------------------------

TEST(SearchCommands, DefaultsApplyWhenArgumentsAreOmitted) {
  EXPECT_EQ(call::find_text("abcabc", "c"), 3);
  EXPECT_EQ(call::find_text("abcabc", "C", 4, true), 6);
  EXPECT_EQ(call::find_text_reverse("abcabc", "c"), 6);
  EXPECT_STREQ(call::replace_subtext("a.b.c", ".").get(), "abc");  // replacement omitted: empty
  EXPECT_STREQ(call::replace_subtext("a.b.c", ".", "--", 3).get(), "a.b--c");
  EXPECT_EQ(call::replace_subtext(nullptr, "x"), nullptr);
  OwnedBlockArray pieces = call::split_text("x,y");
  ASSERT_EQ(array_element_count(pieces.get()), 2u);
  EXPECT_STREQ(text_array_elements(pieces.get())[1], "y");
  EXPECT_EQ(array_element_count(call::split_text(nullptr).get()), 0u);
  EXPECT_EQ(call::compare_text("A", "a", false), 0);
  EXPECT_EQ(call::text_length("\xD6\xD0"), 2);
  EXPECT_EQ(call::text_length(nullptr), 0);
  EXPECT_STREQ(call::mid_text("hello", 2, 2).get(), "el");
  EXPECT_STREQ(call::char_text('Q').get(), "Q");
  EXPECT_STREQ(call::trim_both("  x  ").get(), "x");
  EXPECT_STREQ(call::remove_all_spaces(" a b ").get(), "ab");
}

}  // namespace
}  // namespace quillet::text

#include "tools/regex_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include <random>

#include "text/regex.h"
#include "tools/reference.h"
#include "tools/test_documents.h"

namespace quillet::tools {
namespace {

std::string replaced(std::string_view document, std::string_view pattern, std::string_view with, bool match_case) {
  const std::optional<std::string> result = regex_replace(document, pattern, with, match_case);
  EXPECT_TRUE(result.has_value()) << pattern;
  return result.value_or("(gave up)");
}

std::string extracted(std::string_view document, std::string_view pattern, bool match_case) {
  const std::optional<std::string> result = regex_extract(document, pattern, match_case);
  EXPECT_TRUE(result.has_value()) << pattern;
  return result.value_or("(gave up)");
}

TEST(RegexTools, ReplaceTakesEveryMatchTextInTurnOverTheWholeDocument) {
  // 1, 22 and 1: the third finds nothing left.
  EXPECT_EQ(replaced("a1b22c1", "[0-9]+", "-", true), "a-b-c-");
  // Without case, the first match already replaces both; the second finds nothing.
  EXPECT_EQ(replaced("ABC xabc", "abc", "R", false), "R xR");
  EXPECT_EQ(replaced("ABC xabc", "abc", "R", true), "ABC xR");
  // Text that was no match is replaced too: "1" inside "21".
  EXPECT_EQ(replaced("1 21", "\\b1\\b", "x", true), "x 2x");
  EXPECT_EQ(replaced("ax", "x*", "-", true), "ax");  // an empty match changes nothing
  EXPECT_EQ(replaced("", "a", "b", true), "");
  EXPECT_EQ(replaced("abc", "(", "b", true), "abc");  // does not compile: finds nothing
  // Literally, never from the second byte of a character.
  EXPECT_EQ(replaced("\xB0\xA1\xB0\xA1 \xA1\xB0", "\xA1\xB0", "!", true), "\xB0\xA1\xB0\xA1 !");
}

TEST(RegexTools, ExtractListsTheMatchesOnePerLine) {
  EXPECT_EQ(extracted("a1b22c1", "[0-9]+", true), "1\r\n22\r\n1\r\n");
  EXPECT_EQ(extracted("ABC abc", "abc", false), "ABC\r\nabc\r\n");
  EXPECT_EQ(extracted("ax", "x*", true), "\r\n");  // one empty match, and the search ends
  EXPECT_EQ(extracted("", "a", true), "");
  EXPECT_EQ(extracted("abc", "(", true), "");
  EXPECT_EQ(extracted("\xB0\xA1", ".", true), "\xB0\r\n\xA1\r\n");  // the library sees bytes
}

TEST(RegexTools, ASearchThatGivesUpChangesNothing) {
  const std::string as = std::string(40, 'a') + "b";
  EXPECT_EQ(regex_replace(as, "(a+)+$", "x", true), std::nullopt);
  EXPECT_EQ(regex_extract(as, "(a+)+$", true), std::nullopt);
}

TEST(RegexTools, MatchTextsThatMeetOrMakeEachOther) {
  const auto turns = [](std::string_view document, std::vector<std::string_view> finds, std::string_view with,
                        bool match_case = true) {
    return replace_each_in_turn(document, finds, with, match_case).value_or("(gave up)");
  };
  // The replacement makes an occurrence of a later find text.
  EXPECT_EQ(turns("aba", {"a", "bb"}, "b"), "bb");
  // Deleting joins text into a later find text.
  EXPECT_EQ(turns("1x2 12", {"x", "12"}, ""), " ");
  // Overlapping find texts: the earlier one's turn takes the bytes.
  EXPECT_EQ(turns("abc", {"bc", "ab"}, "-"), "a-");
  EXPECT_EQ(turns("abc", {"ab", "bc"}, "-"), "-c");
  // A find text again after the replacement made it anew.
  EXPECT_EQ(turns("aab", {"ab", "ab"}, "b"), "b");
  // A replacement ending in a lead byte, and a find text that does.
  // (x B0 x B0 after "a": B0 takes the next x as its trail, and the last B0 is a lone lead byte
  // at the end, which the one-byte x drops.)
  EXPECT_EQ(turns("xaxa", {"a", "x"}, "\xB0"), "\xB0\xB0x");
  // (After B0 is replaced, A1 B0 is a character and A2 a lone lead byte at the end.)
  EXPECT_EQ(turns("\xB0\xA1\xB0\xA2", {"\xB0", "\xA1"}, "-"), "--");
  // A one-byte find text drops a lone lead byte at the end.
  EXPECT_EQ(turns("ab\xB0", {"a"}, "x"), "xb");
  EXPECT_EQ(turns("ab\xB0", {"ab"}, "x"), "x\xB0");
}

TEST(RegexTools, ByteRangesKeptOrDeleted) {
  EXPECT_EQ(cut_range("abcdef", 3, 2, RangeChoice::Keep), "cd");
  EXPECT_EQ(cut_range("abcdef", 3, 2, RangeChoice::Delete), "abef");
  EXPECT_EQ(cut_range("abcdef", 0, 2, RangeChoice::Keep), "");
  EXPECT_EQ(cut_range("abcdef", 0, 2, RangeChoice::Delete), "bcdef");  // left of -1 is nothing
  EXPECT_EQ(cut_range("abcdef", 3, 100, RangeChoice::Keep), "cdef");
  EXPECT_EQ(cut_range("abcdef", 3, 100, RangeChoice::Delete), "ab");
  EXPECT_EQ(cut_range("abcdef", 7, 1, RangeChoice::Keep), "");
  EXPECT_EQ(cut_range("abcdef", 2, 0, RangeChoice::Keep), "");
  EXPECT_EQ(cut_range("abcdef", 2, -3, RangeChoice::Delete), "abcdef");
  // Cuts count bytes and may split a character.
  EXPECT_EQ(cut_range("\xB0\xA1\xB0\xA2", 2, 2, RangeChoice::Keep), "\xA1\xB0");
  // Extreme numbers behave as the nearest meaningful ones: a length past every end deletes up
  // to the end, one below every start deletes nothing.
  EXPECT_EQ(cut_range("abc", 2147483647, 2147483647, RangeChoice::Delete), "abc");
  EXPECT_EQ(cut_range("abcdef", 1, INT32_MIN, RangeChoice::Delete), "abcdef");
  EXPECT_EQ(cut_range("abcdef", 1, INT32_MAX, RangeChoice::Delete), "");
  EXPECT_EQ(cut_range("abcdef", INT32_MIN, INT32_MAX, RangeChoice::Delete), "abcdef");  // it ends at byte -2
  EXPECT_EQ(cut_range("abcdef", 3, INT32_MAX, RangeChoice::Keep), "cdef");
}

// The rule in whole numbers of any size: keep the first s - 1 bytes and the last L - s - n + 1,
// each cut to [0, L] and the second to what the first leaves; keep the bytes s to s + n - 1.
std::string range_by_the_rule(const std::string& t, std::int64_t s, std::int64_t n, RangeChoice choice) {
  const auto size = static_cast<std::int64_t>(t.size());
  if (choice == RangeChoice::Keep) {
    if (s < 1 || s > size || n <= 0) return "";
    return t.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(std::min(n, size - s + 1)));
  }
  const std::int64_t before = std::clamp<std::int64_t>(s - 1, 0, size);
  const std::int64_t after = std::min(std::clamp<std::int64_t>(size - s - n + 1, 0, size), size - before);
  return t.substr(0, static_cast<std::size_t>(before)) + t.substr(static_cast<std::size_t>(size - after));
}

TEST(RegexTools, ByteRangesAtEveryEdgeOfTheIntegers) {
  const std::int64_t edges[] = {INT32_MIN, INT32_MIN + 1, -7, -1, 0, 1, 2, 4, 5, 6, 7, INT32_MAX - 1, INT32_MAX};
  for (const std::string document : {"", "a", "abcde", "\xB0\xA1xyz\xB0"}) {
    for (const std::int64_t start : edges) {
      for (const std::int64_t length : edges) {
        for (const RangeChoice choice : {RangeChoice::Keep, RangeChoice::Delete}) {
          EXPECT_EQ(cut_range(document, static_cast<std::int32_t>(start), static_cast<std::int32_t>(length), choice),
                    range_by_the_rule(document, start, length, choice))
              << document << " " << start << " " << length << (choice == RangeChoice::Keep ? " keep" : " delete");
        }
      }
    }
  }
}

// Random documents and find texts from the same pieces (with replacements made of pieces of the
// find texts), both case rules: the same text as the literal loop.
// The letters at the ends of the alphabet fold as the others do, and the bytes either side of
// them do not fold at all.
TEST(RegexTools, InTurnFoldsEveryLetterAndNothingElse) {
  EXPECT_EQ(replace_each_in_turn("z", {"Z"}, "-", false), "-");
  EXPECT_EQ(replace_each_in_turn("Z", {"z"}, "-", false), "-");
  EXPECT_EQ(replace_each_in_turn("aA", {"A"}, "-", false), "--");
  EXPECT_EQ(replace_each_in_turn("Z", {"z"}, "-", true), "Z");
  EXPECT_EQ(replace_each_in_turn("@[`{", {"`", "{"}, "-", false), "@[--");
  EXPECT_EQ(replace_each_in_turn("@", {"`"}, "-", false), "@");
  EXPECT_EQ(replace_each_in_turn("[", {"{"}, "-", false), "[");
}

TEST(RegexTools, InTurnMatchesTheLiteralLoopOnRandomInput) {
  std::mt19937 rng(61);
  int done = 0;
  for (int round = 0; round < 6000; ++round) {
    const std::string document = random_document(rng, round % 5 == 0 ? 60 + rng() % 100 : rng() % 20);
    std::vector<std::string> finds;
    for (std::size_t i = 0, n = rng() % 8; i < n; ++i) {
      if (!document.empty() && rng() % 2 == 0) {
        const std::size_t at = rng() % document.size();
        finds.push_back(document.substr(at, 1 + rng() % 4));
      } else {
        finds.push_back(random_document(rng, rng() % 3));
      }
    }
    std::string with = rng() % 3 == 0 || finds.empty() ? random_document(rng, rng() % 3) : finds[rng() % finds.size()];
    if (rng() % 4 == 0) with += random_document(rng, 1);
    const bool match_case = rng() % 2 == 0;
    const std::vector<std::string_view> views(finds.begin(), finds.end());
    const std::optional<std::string> fast = replace_each_in_turn(document, views, with, match_case);
    ASSERT_TRUE(fast.has_value());
    ASSERT_EQ(*fast, reference::replace_each_in_turn(document, finds, with, match_case))
        << round << " [" << document << "] with [" << with << "] finds " << ::testing::PrintToString(finds);
    ++done;
  }
  EXPECT_EQ(done, 6000);
}

TEST(RegexTools, ReplaceMatchesTheLiteralLoopForRandomPatterns) {
  static const char* const kPatterns[] = {"[0-9]+", "a+", "[ab]", "\\s+", ".", "A|a1", "(?:ab|b)+", "\xB0.", "\\d\\d",
                                          "x*", "[^a]", "\\w+", "b\\b", "^a"};
  std::mt19937 rng(62);
  for (int round = 0; round < 3000; ++round) {
    const std::string document = random_document(rng, rng() % 30) + std::to_string(rng() % 1000);
    const char* pattern = kPatterns[rng() % (sizeof kPatterns / sizeof kPatterns[0])];
    const std::string with = random_document(rng, rng() % 2);
    const bool match_case = rng() % 2 == 0;
    const text::RegexMatches matches = text::find_all_matches(pattern, match_case, document);
    std::vector<std::string> finds;
    for (const text::MatchSpan& span : matches.spans) finds.push_back(document.substr(span.start, span.length));
    ASSERT_EQ(replaced(document, pattern, with, match_case),
              reference::replace_each_in_turn(document, finds, with, match_case))
        << round << " " << pattern;
  }
}

}  // namespace
}  // namespace quillet::tools

#include "text/regex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet::text {
namespace {

struct Found {
  std::int32_t start;
  std::int32_t length;
  bool operator==(const Found&) const = default;
};

std::vector<Found> search(const char* pattern, const char* text, std::optional<bool> case_sensitive = {}) {
  RegexVariable regex;
  EXPECT_TRUE(call::create(regex, pattern, case_sensitive)) << pattern;
  OwnedSearchResults results = call::search_all(regex, text);
  std::vector<Found> found;
  for (std::size_t i = 0; i < array_element_count(results.get()); ++i) {
    const ValueRecord cell = call::search_result(results.get(), i);
    const MatchGroup& whole = search_result_entries(*static_cast<void**>(pointer_value(cell)))[0];
    found.push_back({whole.start, whole.length});
  }
  return found;
}

TEST(Regex, CreateRejectsBadPatternsAndKeepsTheOldOne) {
  RegexVariable regex;
  EXPECT_FALSE(call::create(regex, "("));
  EXPECT_EQ(array_element_count(call::search_all(regex, "abc").get()), 0u);  // never compiled
  EXPECT_TRUE(call::create(regex, "b"));
  EXPECT_FALSE(call::create(regex, "[z"));
  EXPECT_EQ(array_element_count(call::search_all(regex, "abcb").get()), 2u);  // still "b"
}

TEST(Regex, SuccessiveMatchesAndTheirOffsets) {
  EXPECT_EQ(search("b", "abcb"), (std::vector<Found>{{1, 1}, {3, 1}}));
  EXPECT_EQ(search("abc", "xABC", false), (std::vector<Found>{{1, 3}}));
  EXPECT_EQ(search("abc", "xABC", true), std::vector<Found>{});
  EXPECT_EQ(search("[0-9]+", "a12b345"), (std::vector<Found>{{1, 2}, {4, 3}}));
  EXPECT_EQ(search("b", ""), std::vector<Found>{});
}

TEST(Regex, EachContinuedSearchStartsATextOfItsOwn) {
  EXPECT_EQ(search("^a", "aaa"), (std::vector<Found>{{0, 1}, {1, 1}, {2, 1}}));
  EXPECT_EQ(search("\\Ab", "bbx"), (std::vector<Found>{{0, 1}, {1, 1}}));
}

TEST(Regex, EmptyMatchesAreReportedOnceAndEndTheSearch) {
  EXPECT_EQ(search("x*", "ax"), (std::vector<Found>{{0, 0}}));
  EXPECT_EQ(search("a*", "aab"), (std::vector<Found>{{0, 2}, {2, 0}}));
  EXPECT_EQ(search("(?=b)", "aab"), (std::vector<Found>{{2, 0}}));
}

TEST(Regex, DoubleByteCharactersAreTwoCharactersToTheLibrary) {
  EXPECT_EQ(search(".", "\xB0\xA1"), (std::vector<Found>{{0, 1}, {1, 1}}));
  EXPECT_EQ(search("\xD6\xD0\xCE\xC4", "a\xD6\xD0\xCE\xC4" "b"), (std::vector<Found>{{1, 4}}));
}

TEST(Regex, MatchAndGroupTexts) {
  RegexVariable regex;
  ASSERT_TRUE(call::create(regex, "(a)|(b)"));
  const char* text = "xb";
  OwnedSearchResults results = call::search_all(regex, text);
  ASSERT_EQ(array_element_count(results.get()), 1u);
  const ValueRecord first = call::search_result(results.get(), 0);
  std::int32_t start = -7;
  EXPECT_EQ(call::sub_match_text(first, text, 1, &start), nullptr);
  EXPECT_EQ(start, -7);  // group 1 did not take part: the variable is left alone
  EXPECT_STREQ(call::sub_match_text(first, text, 2, &start).get(), "b");
  EXPECT_EQ(start, 1);
  start = -7;
  EXPECT_STREQ(call::match_text(first, text, &start).get(), "b");
  EXPECT_EQ(start, 1);
  EXPECT_EQ(call::sub_match_text(first, text, 3), nullptr);   // beyond the groups
  EXPECT_EQ(call::sub_match_text(first, text, -1), nullptr);
  EXPECT_STREQ(call::match_text(first, text).get(), "b");     // offset variable omitted
}

TEST(Regex, EmptyMatchGivesTheEmptyTextButWritesItsOffset) {
  RegexVariable regex;
  ASSERT_TRUE(call::create(regex, "x*"));
  OwnedSearchResults results = call::search_all(regex, "ab");
  std::int32_t start = -1;
  EXPECT_EQ(call::match_text(call::search_result(results.get(), 0), "ab", &start), nullptr);
  EXPECT_EQ(start, 0);
}

TEST(Regex, PathologicalPatternsEndAndKeepWhatWasFound) {
  // After the first match the continued search backtracks catastrophically over the a's: it
  // must give up in bounded time and keep the match it has.
  const std::string text = "ab" + std::string(200000, 'a');
  EXPECT_EQ(search("(a+)+b", text.c_str()), (std::vector<Found>{{0, 2}}));
  std::string many_any;
  for (int i = 0; i < 40; ++i) many_any += ".*";
  const std::string b_first = "b" + std::string(200000, 'a');
  EXPECT_EQ(search(("b|" + many_any + "=").c_str(), b_first.c_str()), (std::vector<Found>{{0, 1}}));
}

// Recursion works in the library's own bookkeeping rather than by walking the text: each level
// it enters is charged, and the clock bounds what is left. Before, the first of these ran for 23
// seconds and 425 MB and the others for minutes.
TEST(Regex, RecursivePatternsGiveUpOverTextTheyCannotMatch) {
  const std::string text(20000, 'a');
  for (const char* pattern : {"(a*)*(?1)b", "(a|aa)*(?R)?b", "((a|aa)+)(?1)b", "a(?R)?b", "(a(?1)?b)"}) {
    const RegexMatches found = find_all_matches(pattern, true, text);
    EXPECT_TRUE(found.compiled) << pattern;
    EXPECT_FALSE(found.complete) << pattern;
    EXPECT_TRUE(found.spans.empty()) << pattern;
  }
}

TEST(Regex, RecursionThatMatchesStillWorks) {
  EXPECT_EQ(search("\\((?:[^()]|(?R))*\\)", "x(a(b)c)(d)y"), (std::vector<Found>{{1, 7}, {8, 3}}));
  // Many shallow nests over a longer text, all found.
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "(x(y)z) ";
  const RegexMatches found = find_all_matches("\\((?:[^()]|(?R))*\\)", true, text);
  EXPECT_TRUE(found.complete);
  EXPECT_EQ(found.spans.size(), 20000u);
  EXPECT_EQ(search("a(?R)?b", "aaabbb"), (std::vector<Found>{{0, 6}}));
}

TEST(Regex, ObjectCellsFollowTheirLifecycle) {
  ObjectCell cell{};
  invoke(RegexConstruct, object_record(&cell, type_code::kRegex));
  EXPECT_NE(cell.object, nullptr);
  EXPECT_EQ(cell.constructed, 1u);
  invoke(RegexDestroy, object_record(&cell, type_code::kRegex));
  EXPECT_EQ(cell.object, nullptr);
  EXPECT_EQ(cell.constructed, 0u);
}

}  // namespace
}  // namespace quillet::text

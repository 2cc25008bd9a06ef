#include "text/regex_start.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/regex.h"
#include "text/regex_config.h"

namespace quillet::text {
namespace {

std::string bytes_of(const std::optional<ByteSet>& set) {
  if (!set) return "(any place)";
  std::string out;
  for (int b = 0; b < 256; ++b) {
    if (set->test(static_cast<std::size_t>(b))) out += static_cast<char>(b);
  }
  return out;
}

std::string high_bytes() {
  std::string out;
  for (int b = 0x80; b <= 0xFF; ++b) out += static_cast<char>(b);
  return out;
}

TEST(MatchStartBytes, ReadsLiteralsClassesGroupsAndAlternatives) {
  EXPECT_EQ(bytes_of(match_start_bytes("abc", true)), "a");
  EXPECT_EQ(bytes_of(match_start_bytes("abc", false)), "Aa");
  EXPECT_EQ(bytes_of(match_start_bytes("[0-9]+", true)), "0123456789");
  EXPECT_EQ(bytes_of(match_start_bytes("x|y|(?:z|\\.)", true)), ".xyz");
  EXPECT_EQ(bytes_of(match_start_bytes("(b+)c", true)), "b");
  EXPECT_EQ(bytes_of(match_start_bytes("[-a\\]z-]", true)), "-]az");
  EXPECT_EQ(bytes_of(match_start_bytes("\\x41{2}", true)), "A");
  EXPECT_EQ(bytes_of(match_start_bytes("\\t|\\n", true)), "\t\n");
  EXPECT_EQ(bytes_of(match_start_bytes("\xB0\xA1", true)), "\xB0");
  EXPECT_EQ(bytes_of(match_start_bytes("\\d", true)), "0123456789" + high_bytes());
  // Without case a range reaches as far as its ends' other case: [+-B] holds [ (5B) then.
  EXPECT_TRUE(match_start_bytes("[+-B]", false)->test('['));
  EXPECT_FALSE(match_start_bytes("[+-B]", true)->test('['));
  EXPECT_EQ(match_start_bytes(".", true)->count(), 256u);
  EXPECT_EQ(match_start_bytes("[^a]", true)->count(), 256u);
}

TEST(MatchStartBytes, GivesNoAnswerWhereAMatchMayBeginAnywhere) {
  for (const char* pattern : {"", "a*", "a?b", "a{0,2}", "(a|)", "a||b", "^a", "$", "\\ba", "\\Bx", "(?=a)a", "(?<=a)b",
                              "(?i)a", "\\1", "\\Qa|b\\E", "[[:alpha:]]", "(a)*b", "\\pL", "*a", "a{x", "(a", "[a",
                              "\\`a", "\\'", "\\<a", "\\>"}) {
    EXPECT_FALSE(match_start_bytes(pattern, true).has_value()) << pattern;
  }
}

// Random patterns from a small grammar, over texts of the same bytes: the matches found by
// asking only where a start byte stands are the ones found by asking everywhere.
std::string random_pattern(std::mt19937& rng, int depth = 0) {
  static const char* const kAtoms[] = {"a", "b", "A", "1", " ", "\xB0", "\xA1", ".", "[ab]", "[0-9]", "[^a]", "\\d",
                                       "\\w", "\\s", "\\.", "x", "\xB0\xA1", "[a-c1]", "\\x61", "\\K"};
  static const char* const kQuantifiers[] = {"", "", "", "+", "*", "?", "{2}", "{0,2}", "+?", "{1,}"};
  std::string pattern;
  const int atoms = 1 + static_cast<int>(rng() % 3);
  for (int i = 0; i < atoms; ++i) {
    if (depth < 2 && rng() % 6 == 0) {
      pattern += rng() % 2 == 0 ? "(?:" : "(";
      pattern += random_pattern(rng, depth + 1);
      pattern += ")";
    } else if (rng() % 12 == 0) {
      pattern += rng() % 2 == 0 ? "^" : "\\b";
    } else {
      pattern += kAtoms[rng() % (sizeof kAtoms / sizeof kAtoms[0])];
    }
    pattern += kQuantifiers[rng() % (sizeof kQuantifiers / sizeof kQuantifiers[0])];
  }
  if (rng() % 5 == 0) pattern += "|" + random_pattern(rng, depth + 1);
  return pattern;
}

std::vector<MatchSpan> every_place(const std::string& pattern, bool case_sensitive, const std::string& text) {
  boost::regex_constants::syntax_option_type flags = boost::regex_constants::perl;
  if (!case_sensitive) flags |= boost::regex_constants::icase;
  const Expression expression(pattern.data(), pattern.data() + pattern.size(), flags);
  std::vector<MatchSpan> spans;
  if (text.empty()) return spans;  // SearchAll does not search an empty text
  const char* from = text.data();
  boost::match_results<const char*> match;
  try {
    while (boost::regex_search(from, text.data() + text.size(), match, expression, boost::match_default)) {
      spans.push_back({static_cast<std::size_t>(match[0].first - text.data()), static_cast<std::size_t>(match[0].length())});
      if (match[0].length() == 0) break;
      from = match[0].second;
    }
  } catch (...) {
    spans.push_back({~std::size_t{0}, 0});  // never equal to what a complete search finds
  }
  return spans;
}

TEST(MatchStartBytes, SkippingToThemFindsWhatTryingEveryPlaceFinds) {
  std::mt19937 rng(44);
  static const char kAlphabet[] = {'a', 'b', 'A', '1', '2', ' ', '\n', 'x', '.', '\xB0', '\xA1', 'c'};
  int skipped = 0, gave_up = 0;
  for (int round = 0; round < 4000; ++round) {
    const std::string pattern = random_pattern(rng);
    const bool case_sensitive = rng() % 2 == 0;
    std::string text(rng() % 40, ' ');
    for (char& c : text) c = kAlphabet[rng() % sizeof kAlphabet];
    const RegexMatches found = find_all_matches(pattern, case_sensitive, text);
    if (!found.compiled) continue;
    // The library gives up on nested repeats after a number of steps that depends on where it
    // was asked to start; a search that gave up says so and is not compared.
    if (!found.complete) {
      ++gave_up;
      continue;
    }
    skipped += match_start_bytes(pattern, case_sensitive).has_value();
    ASSERT_EQ(found.spans, every_place(pattern, case_sensitive, text)) << pattern << " on " << text;
  }
  EXPECT_GT(skipped, 1000);  // the reader answers for most of these patterns
  EXPECT_LT(gave_up, 40);
}

}  // namespace
}  // namespace quillet::text

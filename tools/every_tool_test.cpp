// What holds for every tool alike: a NUL is a byte like any other, and a result's size is known
// before it is made, so the limit refuses exactly the results past it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "tools/conversion.h"
#include "tools/find.h"
#include "tools/generators.h"
#include "tools/paragraphs.h"
#include "tools/regex_tools.h"
#include "tools/replace.h"
#include "tools/test_documents.h"

namespace quillet::tools {
namespace {

using Result = std::optional<std::string>;
using Tool = std::function<Result(std::string_view)>;

struct NamedTool {
  std::string name;
  Tool run;
};

// Every tool over a document, with parameters drawn from rng (random_document's pieces, which
// hold neither NUL nor 0x01). find answers with its positions.
std::vector<NamedTool> every_tool(std::mt19937& rng) {
  const std::string find = random_document(rng, 1 + rng() % 2), with = random_document(rng, rng() % 3);
  const bool match_case = rng() % 2 == 0;
  const auto spaces = static_cast<std::int32_t>(rng() % 4);
  const auto start = static_cast<std::int32_t>(rng() % 12) - 2, length = static_cast<std::int32_t>(rng() % 12) - 2;
  static const char* const kPatterns[] = {"[a-z]+", "b.", "\\r\\n", "(a|\xB0)+", ".", "x*"};
  const std::string pattern = kPatterns[rng() % std::size(kPatterns)];
  const AroundSeparator around{kLineBreak, "a", true, "", "[", false, "]", match_case};
  const AroundSeparator tabs{kTab, "", true, "b", "<", true, ">", match_case};
  return {
      {"upper", [](std::string_view d) { return upper_case(d); }},
      {"lower", [](std::string_view d) { return lower_case(d); }},
      {"full-width", [](std::string_view d) { return full_width(d); }},
      {"half-width", [](std::string_view d) { return half_width(d); }},
      {"replace", [=](std::string_view d) { return replace_all(d, find, with, match_case); }},
      {"around-line-breaks", [=](std::string_view d) { return replace_around_separator(d, around); }},
      {"around-tabs", [=](std::string_view d) { return replace_around_separator(d, tabs); }},
      {"collapse-breaks", [](std::string_view d) { return collapse_line_breaks(d); }},
      {"merge", [](std::string_view d) { return merge_paragraphs(d); }},
      {"split", [=](std::string_view d) { return split_at(d, find); }},
      {"indent", [=](std::string_view d) { return indent_paragraphs(d, spaces); }},
      {"delete-spaces lead", [](std::string_view d) { return delete_spaces(d, SpacesToDelete::Leading); }},
      {"delete-spaces trail", [](std::string_view d) { return delete_spaces(d, SpacesToDelete::Trailing); }},
      {"delete-spaces both", [](std::string_view d) { return delete_spaces(d, SpacesToDelete::BothEnds); }},
      {"delete-spaces all", [](std::string_view d) { return delete_spaces(d, SpacesToDelete::All); }},
      {"range keep", [=](std::string_view d) { return cut_range(d, start, length, RangeChoice::Keep); }},
      {"range delete", [=](std::string_view d) { return cut_range(d, start, length, RangeChoice::Delete); }},
      {"insert before",
       [=](std::string_view d) { return insert_in_paragraphs(d, Placement::BeforeParagraphs, {with, true, start, "."}); }},
      {"insert after",
       [=](std::string_view d) { return insert_in_paragraphs(d, Placement::AfterParagraphs, {"(", false, 0, with}); }},
      // A replacement that holds what it replaces doubles the document every turn: a small
      // limit keeps that quick.
      {"regex-replace", [=](std::string_view d) { return regex_replace(d, pattern, with, match_case, {.size = 1 << 16}); }},
      {"regex-extract", [=](std::string_view d) { return regex_extract(d, pattern, match_case); }},
      {"find", [=](std::string_view d) -> Result {
         std::string positions;
         ByteRange from{0, 0};
         while (const auto at = find_next(d, find, from, SearchDirection::Forward, match_case)) {
           positions += std::to_string(*at) + ",";
           from = {*at, find.size()};
         }
         return positions;
       }},
  };
}

std::string swapped(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

// A NUL anywhere (after a lead byte it is that character's trail, as any byte would be) is
// treated as 0x01 is, which no tool gives a meaning: each tool over the document gives what it
// gives over the document with 0x01 for every NUL, with the NULs back in place. A tool that
// ended its text at a NUL fails this at once.
TEST(EveryTool, KeepsEveryNulOfItsInput) {
  std::mt19937 rng(22);
  for (int round = 0; round < 1000; ++round) {
    std::string document = random_document(rng, rng() % 24);
    for (int nuls = 1 + static_cast<int>(rng() % 3); nuls > 0; --nuls) {
      document.insert(document.begin() + static_cast<std::ptrdiff_t>(rng() % (document.size() + 1)), '\0');
    }
    const std::string stand_in = swapped(document, '\0', '\x01');
    for (const NamedTool& tool : every_tool(rng)) {
      const Result with_nuls = tool.run(document);
      const Result without = tool.run(stand_in);
      ASSERT_EQ(with_nuls.has_value(), without.has_value()) << tool.name << " round " << round;
      if (with_nuls) {
        ASSERT_EQ(*with_nuls, swapped(*without, '\x01', '\0')) << tool.name << " round " << round;
      }
    }
  }
}

TEST(EveryTool, TheWidthToolsAndReplaceKeepWhatFollowsANul) {
  const std::string document("abc\0def\r\n", 9);
  EXPECT_EQ(half_width(document), document);
  EXPECT_EQ(*full_width(document), std::string("\xA3\xE1\xA3\xE2\xA3\xE3\0\xA3\xE4\xA3\xE5\xA3\xE6\r\n", 15));
  EXPECT_EQ(*replace_all(document, "d", "D", true), std::string("abc\0Def\r\n", 9));
  EXPECT_EQ(*regex_extract(document, "[a-z]+", true), "abc\r\ndef\r\n");
}

// The tools that can grow the document, each given the exact size of its result as the limit
// and one byte less: a size worked out one byte wrong, or a rough first bound taken for the
// answer, fails one of the two.
TEST(EveryTool, ALimitRefusesExactlyTheResultsPastIt) {
  std::mt19937 rng(2022);
  using Limited = std::function<Result(std::string_view, std::uint64_t)>;
  for (int round = 0; round < 3000; ++round) {
    const std::string document = random_document(rng, rng() % 20);
    const std::string find = random_document(rng, 1 + rng() % 2), with = random_document(rng, rng() % 4);
    const bool match_case = rng() % 2 == 0;
    const auto spaces = static_cast<std::int32_t>(rng() % 6);
    const std::pair<const char*, Limited> tools[] = {
        {"full-width", [](std::string_view d, std::uint64_t l) { return full_width(d, l); }},
        {"replace", [&](std::string_view d, std::uint64_t l) { return replace_all(d, find, with, match_case, l); }},
        {"split", [&](std::string_view d, std::uint64_t l) { return split_at(d, find, l); }},
        {"split at nothing", [&](std::string_view d, std::uint64_t l) { return split_at(d, "", l); }},
        {"indent", [&](std::string_view d, std::uint64_t l) { return indent_paragraphs(d, spaces, l); }},
        {"regex-extract", [&](std::string_view d, std::uint64_t l) { return regex_extract(d, "[ab]|\r", match_case, l); }},
    };
    for (const auto& [name, tool] : tools) {
      const Result unbounded = tool(document, ~std::uint64_t{0});
      ASSERT_TRUE(unbounded) << name;
      EXPECT_EQ(tool(document, unbounded->size()), unbounded) << name << " round " << round;
      if (!unbounded->empty()) {
        EXPECT_EQ(tool(document, unbounded->size() - 1), std::nullopt) << name << " round " << round;
      }
    }
  }
}

TEST(EveryTool, LimitsAtTheirEdges) {
  // A rough bound (every byte an occurrence) passes the limit, the real count does not.
  EXPECT_EQ(replace_all("a\xB0\xA1\xB0\xA1", "a", "bbb", true, 7), "bbb\xB0\xA1\xB0\xA1");
  EXPECT_EQ(replace_all("a\xB0\xA1\xB0\xA1", "a", "bbb", true, 6), std::nullopt);
  // A one-byte find text drops a lone lead byte at the end, which the size counts.
  EXPECT_EQ(replace_all("a\xB0", "a", "bb", true, 2), "bb");
  // A replacement no longer than its find text never needs counting, and is never refused
  // for a document within the limit.
  EXPECT_EQ(replace_all("abab", "ab", "c", true, 4), "cc");
  // Indenting: every paragraph's pad counted, the empty ones' too.
  EXPECT_EQ(indent_paragraphs("a\r\n\r\nb", 3, 17), "   a\r\n   \r\n   b\r\n");
  EXPECT_EQ(indent_paragraphs("a\r\n\r\nb", 3, 16), std::nullopt);
  EXPECT_EQ(indent_paragraphs("", 100'000'000, 0), "");
  // Replacing in turn: the bounds are inclusive, and a turn's size counts the bytes it removes.
  EXPECT_EQ(replace_each_in_turn("a", {"a"}, "b\xB0", true, {.size = 2}), "b\xB0");
  EXPECT_EQ(replace_each_in_turn("a", {"a"}, "b\xB0", true, {.size = 1}), std::nullopt);
  EXPECT_EQ(replace_each_in_turn("abc", {"b"}, "xy", true, {.size = 4}), "axyc");
  EXPECT_EQ(replace_each_in_turn("abc", {"b"}, "xy", true, {.size = 3}), std::nullopt);
  // The literal way's work bound is inclusive too: one pass over one byte and its end is 2.
  EXPECT_EQ(replace_each_in_turn("a", {"a"}, "b\xB0", true, {.work = 2}), "b\xB0");
  EXPECT_EQ(replace_each_in_turn("a", {"a"}, "b\xB0", true, {.work = 1}), std::nullopt);
  // Extracting counts each match's line break.
  EXPECT_EQ(regex_extract("aaa", "a+", true, 5), "aaa\r\n");
  EXPECT_EQ(regex_extract("aaa", "a+", true, 4), std::nullopt);
}

// The sizes that crashed: a pad of a hundred million spaces on a document of 70 kB, and a long
// replacement of a frequent text. Refused at once, nothing made.
TEST(EveryTool, HugeResultsAreRefusedBeforeTheyAreMade) {
  std::string document;
  while (document.size() < 70'000) document += "\xD2\xBB\xB6\xFE\xC8\xFD abc def\r\n";
  EXPECT_EQ(indent_paragraphs(document, 100'000'000), std::nullopt);
  EXPECT_EQ(indent_paragraphs(document, 2'147'483'647), std::nullopt);
  EXPECT_EQ(replace_all(document, "a", std::string(1 << 20, 'x'), false), std::nullopt);
  const std::string long_text(1 << 20, 'y');
  const AroundSeparator around{kLineBreak, "", true, "", long_text, true, ""};
  EXPECT_EQ(replace_around_separator(document, around), std::nullopt);
  // Each comma becomes a line break: one past half the limit of them is past it.
  EXPECT_EQ(split_at(std::string(kLargestDocument / 2 + 1, ','), ","), std::nullopt);
}

}  // namespace
}  // namespace quillet::tools

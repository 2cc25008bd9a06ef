#include "tools/replace.h"

#include <gtest/gtest.h>

#include <random>

#include "tools/reference.h"
#include "tools/test_documents.h"

namespace quillet::tools {
namespace {

TEST(ReplaceTools, ReplaceAllWithAndWithoutCase) {
  EXPECT_EQ(replace_all("Aa", "a", "b", false), "bb");
  EXPECT_EQ(replace_all("Aa", "a", "b", true), "Ab");
  EXPECT_EQ(replace_all("Aa", "", "b", false), "Aa");
  EXPECT_EQ(replace_all("", "a", "b", false), "");
  EXPECT_EQ(replace_all("aaa", "aa", "x", true), "xa");  // left to right, no overlap
  // Never from the second byte of a character: B0 A1 B0 A1 holds no A1 B0.
  EXPECT_EQ(replace_all("\xB0\xA1\xB0\xA1", "\xA1\xB0", "!", true), "\xB0\xA1\xB0\xA1");
  EXPECT_EQ(replace_all("\xB0\xA1\xB0\xA1", "\xB0\xA1", "\xD6\xD0", true), "\xD6\xD0\xD6\xD0");
}

TEST(ReplaceTools, AroundALineBreakOrATab) {
  AroundSeparator context{kLineBreak, "x", true, "y", "1", true, "2"};
  EXPECT_EQ(replace_around_separator("x\r\ny xy", context), "1\r\n2 xy");
  context.separator_in_replacement = false;  // joins the lines
  EXPECT_EQ(replace_around_separator("x\r\ny", context), "12");
  context.separator_in_find = false;  // neither: only xy
  EXPECT_EQ(replace_around_separator("x\r\ny xy", context), "x\r\ny 12");
  context.separator_in_replacement = true;  // splits at xy
  EXPECT_EQ(replace_around_separator("x\r\ny xy", context), "x\r\ny 1\r\n2");
  // The tab form with both boxes cleared and every text empty changes nothing.
  EXPECT_EQ(replace_around_separator("a\tb", {kTab, "", false, "", "", false, ""}), "a\tb");
  EXPECT_EQ(replace_around_separator("a\tb\tc", {kTab, "", true, "", "", false, ""}), "abc");
  // Case.
  EXPECT_EQ(replace_around_separator("X\tY", {kTab, "x", true, "y", "-", false, "", false}), "-");
  EXPECT_EQ(replace_around_separator("X\tY", {kTab, "x", true, "y", "-", false, "", true}), "X\tY");
}

TEST(ReplaceTools, ManyLineBreaksToOne) {
  EXPECT_EQ(collapse_line_breaks("a\r\n\r\n\r\nb"), "a\r\nb");  // two passes the slow way
  EXPECT_EQ(collapse_line_breaks("a\r\n\r\n"), "a\r\n");
  EXPECT_EQ(collapse_line_breaks("\r\n\r\n\r\n\r\n\r\n"), "\r\n");
  EXPECT_EQ(collapse_line_breaks("a\n\n\nb\r\r"), "a\n\n\nb\r\r");  // bare LF and CR are no line breaks
  EXPECT_EQ(collapse_line_breaks("\n\r\n\r\n\r"), "\n\r\n\r");
  // B0 0D is one character, so the line break after it is alone.
  EXPECT_EQ(collapse_line_breaks("\xB0\r\n\r\n"), "\xB0\r\n\r\n");
  EXPECT_EQ(collapse_line_breaks(""), "");
}

TEST(ReplaceTools, MergeRemovesEveryLineBreak) {
  EXPECT_EQ(merge_paragraphs("a\r\nb\r\n\r\nc\r\n"), "abc");
  EXPECT_EQ(merge_paragraphs("a\rb\nc"), "a\rb\nc");
  EXPECT_EQ(merge_paragraphs("\xB0\r\n\r\n"), "\xB0\r\n");
  EXPECT_EQ(merge_paragraphs("x\r\n\xB0"), "x\xB0");
  EXPECT_EQ(merge_paragraphs(""), "");
}

TEST(ReplaceTools, MatchTheStepsAsFirstWrittenOnRandomDocuments) {
  std::mt19937 rng(5);
  for (int round = 0; round < 5000; ++round) {
    // Short documents, and documents of several 64-byte blocks.
    const std::string document = random_document(rng, round % 4 == 0 ? 100 + rng() % 300 : rng() % 16);
    ASSERT_EQ(collapse_line_breaks(document), reference::collapse_line_breaks(document)) << round;
    ASSERT_EQ(merge_paragraphs(document), reference::merge_paragraphs(document)) << round;
    const std::string find = random_document(rng, 1 + rng() % 2);
    const std::string with = random_document(rng, rng() % 2);
    const bool match_case = rng() % 2 == 0;
    ASSERT_EQ(replace_all(document, find, with, match_case), reference::replace_all(document, find, with, match_case))
        << round;
  }
}

}  // namespace
}  // namespace quillet::tools

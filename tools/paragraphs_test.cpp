#include "tools/paragraphs.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tools/reference.h"
#include "tools/test_documents.h"

namespace quillet::tools {
namespace {

std::vector<std::string> paragraphs_of(std::string_view text) {
  std::vector<std::string> out;
  for_each_paragraph(text, [&out](std::string_view paragraph) { out.emplace_back(paragraph); });
  return out;
}

TEST(ParagraphTools, ParagraphsAreCutAtLineBreaks) {
  using V = std::vector<std::string>;
  EXPECT_EQ(paragraphs_of(""), V{});
  EXPECT_EQ(paragraphs_of("a"), V{"a"});
  EXPECT_EQ(paragraphs_of("a\r\n"), V{"a"});  // no empty last paragraph
  EXPECT_EQ(paragraphs_of("\r\na\r\n\r\nb"), (V{"", "a", "", "b"}));
  EXPECT_EQ(paragraphs_of("a\rb\nc"), V{"a\rb\nc"});  // lone CR and LF are ordinary bytes
  EXPECT_EQ(paragraphs_of("\xB0\r\nx"), V{"\xB0\r\nx"});  // B0 0D is one character
  EXPECT_EQ(paragraphs_of("x\r\n\xB0"), (V{"x", "\xB0"}));
}

TEST(ParagraphTools, SplitAtASeparator) {
  EXPECT_EQ(split_at("a,b,c", ","), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(split_at("a,b,c,", ","), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(split_at("a,,b", ","), "a\r\n\r\nb\r\n");
  EXPECT_EQ(split_at("a,b", ""), "a,b\r\n");
  EXPECT_EQ(split_at("", ","), "");
  EXPECT_EQ(split_at("", ""), "");
  EXPECT_EQ(split_at("aXbxc", "x"), "aXb\r\nc\r\n");  // byte for byte, no case folding
  EXPECT_EQ(split_at("\xB0\xA1\xB0\xA1", "\xA1\xB0"), "\xB0\xA1\xB0\xA1\r\n");
  EXPECT_EQ(split_at("\xB0\xA1\xD6\xD0\xB0\xA1", "\xD6\xD0"), "\xB0\xA1\r\n\xB0\xA1\r\n");
}

TEST(ParagraphTools, IndentRemovesEverySpaceFirst) {
  EXPECT_EQ(indent_paragraphs("x y\r\nz", 4), "    xy\r\n    z\r\n");
  EXPECT_EQ(indent_paragraphs("  x\xA1\xA1y\r\n\r\n z", 0), "xy\r\n\r\nz\r\n");
  EXPECT_EQ(indent_paragraphs("x\r\n", -3), "x\r\n");
  EXPECT_EQ(indent_paragraphs("\r\n", 2), "  \r\n");
  EXPECT_EQ(indent_paragraphs("", 4), "");
  EXPECT_EQ(indent_paragraphs("   ", 4), "");
  // A space between CR and LF goes first, and the two become a line break.
  EXPECT_EQ(indent_paragraphs("a\r \nb", 1), " a\r\n b\r\n");
}

TEST(ParagraphTools, DeleteSpacesPerParagraphOrEverywhere) {
  EXPECT_EQ(delete_spaces("  a\xA1\xA1", SpacesToDelete::BothEnds), "a\r\n");
  EXPECT_EQ(delete_spaces("  a\xA1\xA1", SpacesToDelete::Leading), "a\xA1\xA1\r\n");
  EXPECT_EQ(delete_spaces("  a\xA1\xA1", SpacesToDelete::Trailing), "  a\r\n");
  EXPECT_EQ(delete_spaces(" a b \r\n c ", SpacesToDelete::All), "ab\r\nc");  // no final line break added
  EXPECT_EQ(delete_spaces(" a\r\n", SpacesToDelete::Leading), "a\r\n");
  // A1 followed by another byte is not a space; a lone lead byte at the end goes with the
  // trailing cut, and the spaces before it stay.
  EXPECT_EQ(delete_spaces("\xA1\xB0 ", SpacesToDelete::BothEnds), "\xA1\xB0\r\n");
  EXPECT_EQ(delete_spaces("a \xB0", SpacesToDelete::Trailing), "a \r\n");
  for (const auto which : {SpacesToDelete::Leading, SpacesToDelete::Trailing, SpacesToDelete::BothEnds,
                           SpacesToDelete::All}) {
    EXPECT_EQ(delete_spaces("", which), "");
  }
}

TEST(ParagraphTools, MatchTheStepsAsFirstWrittenOnRandomDocuments) {
  std::mt19937 rng(9);
  for (int round = 0; round < 5000; ++round) {
    // Short documents, and documents of several 64-byte blocks.
    const std::string document = random_document(rng, round % 4 == 0 ? 100 + rng() % 300 : rng() % 16);
    const std::string separator = random_document(rng, rng() % 2);
    ASSERT_EQ(split_at(document, separator), reference::split_at(document, separator)) << round;
    const auto spaces = static_cast<std::int32_t>(rng() % 5) - 1;
    ASSERT_EQ(indent_paragraphs(document, spaces), reference::indent_paragraphs(document, spaces)) << round;
    for (const auto which : {SpacesToDelete::Leading, SpacesToDelete::Trailing, SpacesToDelete::BothEnds,
                             SpacesToDelete::All}) {
      ASSERT_EQ(delete_spaces(document, which), reference::delete_spaces(document, which)) << round;
    }
  }
}

}  // namespace
}  // namespace quillet::tools

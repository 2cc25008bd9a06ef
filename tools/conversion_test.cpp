#include "tools/conversion.h"

#include <gtest/gtest.h>

#include <random>

#include "text/literal_reference.h"
#include "text/text_test_support.h"

namespace quillet::tools {
namespace {

TEST(ConversionTools, CaseChangesOnlySingleByteLetters) {
  EXPECT_EQ(upper_case("abc xyz\r\nAZ@[`{"), "ABC XYZ\r\nAZ@[`{");
  EXPECT_EQ(lower_case("ABC XYZ\r\naz@[`{"), "abc xyz\r\naz@[`{");
  // 81 61 is one character although its trail is the letter a; full-width letters stay too.
  EXPECT_EQ(upper_case("\x81" "a" "a"), "\x81" "a" "A");
  EXPECT_EQ(upper_case("\xA3\xE1\xA3\xC1"), "\xA3\xE1\xA3\xC1");
  EXPECT_EQ(lower_case("\xA3\xC1"), "\xA3\xC1");
  EXPECT_EQ(upper_case(""), "");
  // A lone lead byte at the end stays.
  EXPECT_EQ(upper_case("a\xB0"), "A\xB0");
}

TEST(ConversionTools, WidthTablesAtTheirEdges) {
  // First and last printable characters and the two special forms, both ways.
  EXPECT_EQ(full_width(" !}~"), "\xA1\xA1\xA3\xA1\xA3\xFD\xA1\xAB");
  EXPECT_EQ(half_width("\xA1\xA1\xA3\xA1\xA3\xFD\xA1\xAB"), " !}~");
  // A3 FE is the tilde's other form; A3 A0 and A3 FF are outside the table.
  EXPECT_EQ(half_width("\xA3\xFE\xA3\xA0\xA3\xFF"), "~\xA3\xA0\xA3\xFF");
  EXPECT_EQ(half_width("\xA3\xA4"), "$");
  EXPECT_EQ(half_width("\xA1\xEE\xA1\xEF\xA1\xED\xA1\xF0"), "**\xA1\xED\xA1\xF0");
  // Control characters (CR LF and tab, and 0x7F) and Chinese pass through both ways.
  EXPECT_EQ(full_width("a\r\nb\t\x7F"), "\xA3\xE1\r\n\xA3\xE2\t\x7F");
  EXPECT_EQ(full_width("\xB0\xA1\xB0\xA2"), "\xB0\xA1\xB0\xA2");
  EXPECT_EQ(half_width("\xB0\xA1\xB0\xA2\r\n"), "\xB0\xA1\xB0\xA2\r\n");
  // A lone lead byte at the end is dropped.
  EXPECT_EQ(full_width("a\xB0"), "\xA3\xE1");
  EXPECT_EQ(half_width("\xA3\xC1\xA3"), "A");
}

TEST(ConversionTools, FullThenHalfGivesPrintableAsciiBack) {
  std::string printable;
  for (int c = 0x20; c <= 0x7E; ++c) printable += static_cast<char>(c);
  printable += "\r\n";
  EXPECT_EQ(half_width(*full_width(printable)), printable);
}

TEST(ConversionTools, ANulIsAControlCharacterThatStays) {
  const std::string document("abc\0def\0\r\n\xA3\xC1", 12);
  EXPECT_EQ(upper_case(document), std::string("ABC\0DEF\0\r\n\xA3\xC1", 12));
  EXPECT_EQ(full_width(document), std::string("\xA3\xE1\xA3\xE2\xA3\xE3\0\xA3\xE4\xA3\xE5\xA3\xE6\0\r\n\xA3\xC1", 18));
  EXPECT_EQ(half_width(document), std::string("abc\0def\0\r\nA", 11));
  // A lead byte before a NUL takes it as its trail, as it takes any byte.
  EXPECT_EQ(half_width(std::string("\xB0\0x", 3)), std::string("\xB0\0x", 3));
}

TEST(ConversionTools, FullWidthRefusesAResultPastTheLimitAndTakesOneAtIt) {
  EXPECT_EQ(full_width("ab", 4), "\xA3\xE1\xA3\xE2");
  EXPECT_EQ(full_width("ab", 3), std::nullopt);
  // Twice the document would pass the limit, but a Chinese character keeps its two bytes.
  EXPECT_EQ(full_width("\xB0\xA1" "a", 4), "\xB0\xA1\xA3\xE1");
  EXPECT_EQ(full_width("\xB0\xA1" "a", 3), std::nullopt);
  EXPECT_EQ(full_width("", 0), "");
}

TEST(ConversionTools, MatchTheCharacterWalkOnRandomDoubleByteText) {
  std::mt19937 rng(12);
  for (int round = 0; round < 3000; ++round) {
    const std::string document = text::random_mixed_bytes(rng, rng() % 40);
    const std::string upper = upper_case(document);
    ASSERT_EQ(upper, text::literal::literal_case(document, true)) << round;
    ASSERT_EQ(lower_case(document), text::literal::literal_case(document, false)) << round;
    ASSERT_EQ(full_width(document), text::literal::literal_full(document)) << round;
    ASSERT_EQ(half_width(document), text::literal::literal_half(document)) << round;
    // Case conversion keeps every double-byte character where it was, byte for byte.
    const std::vector<bool> starts = text::boundaries_by_stepping(document);
    for (std::size_t i = 0; i + 1 < document.size(); ++i) {
      if (starts[i] && text::is_lead_byte(document[i])) {
        ASSERT_EQ(upper.substr(i, 2), document.substr(i, 2)) << round;
      }
    }
  }
}

}  // namespace
}  // namespace quillet::tools

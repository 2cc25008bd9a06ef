#include "tools/generators.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "text/conversion.h"
#include "tools/limits.h"
#include "tools/reference.h"

namespace quillet::tools {
namespace {

constexpr std::int32_t kMost = 2147483647, kLeast = -2147483647 - 1;
const std::string kSeparator = "\xA1\xAA\xA1\xAA\xA1\xAA\xA1\xAA";  // ————

std::string lines(const LineParts& parts, std::int32_t count) {
  const std::optional<std::string> made = numbered_lines(parts, count);
  EXPECT_TRUE(made.has_value());
  return made.value_or("(refused)");
}

std::string inserted(std::string_view document, Placement placement, const LineParts& parts) {
  const std::optional<std::string> made = insert_in_paragraphs(document, placement, parts);
  EXPECT_TRUE(made.has_value());
  return made.value_or("(refused)");
}

// The number as the text library writes a double.
std::string as_to_text_writes(double value) {
  const text::OwnedText written = text::call::to_text(value);
  return written.get();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find("\r\n", at);
    out.push_back(text.substr(at, end - at));
    at = end + 2;
  }
  return out;
}

TEST(NumberedLines, LeftNumberRightOnEveryLine) {
  EXPECT_EQ(lines({"Item", true, 1, "."}, 3), "Item1.\r\nItem2.\r\nItem3.\r\n");
  EXPECT_EQ(lines({"a", false, 1, "b"}, 2), "ab\r\nab\r\n");
  EXPECT_EQ(lines({"", true, 0, ""}, 3), "0\r\n1\r\n2\r\n");  // an empty start box reads 0
  EXPECT_EQ(lines({"", true, -2, ""}, 3), "-2\r\n-1\r\n0\r\n");
  EXPECT_EQ(lines({"x", true, 1, ""}, 0), "");
  EXPECT_EQ(lines({"x", true, 1, ""}, -5), "");
  EXPECT_EQ(lines({"\xB5\xDA", true, 9, "\xD5\xC2"}, 2), "\xB5\xDA" "9\xD5\xC2\r\n\xB5\xDA" "10\xD5\xC2\r\n");  // 第9章
}

// At the ends of the integers the numbers go on as doubles do, and read as ToText writes them.
TEST(NumberedLines, NumbersPastTheIntegersAsToTextWritesThem) {
  for (const std::int32_t first : {kMost - 1, kLeast, -1, 0, 99}) {
    const std::vector<std::string> made = lines_of(lines({"", true, first, ""}, 3));
    ASSERT_EQ(made.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(made[i], as_to_text_writes(static_cast<double>(first) + i)) << first;
  }
}

// The size worked out beforehand is the size made, across decades, signs and zero.
TEST(NumberedLines, SizeWorkedOutIsTheSizeMade) {
  std::mt19937 rng(15);
  const std::int32_t starts[] = {0, 1, -1, 9, 10, -9, -10, 99, -100, 999999, -1000001, kMost - 5, kLeast, kLeast + 7};
  for (int round = 0; round < 3000; ++round) {
    const std::string left(rng() % 3, 'L'), right(rng() % 4, 'R');
    const LineParts parts{left, rng() % 4 != 0, round < 200 ? starts[round % std::size(starts)]
                                                            : static_cast<std::int32_t>(rng() % 4001) - 2000,
                          right};
    const std::int32_t count = static_cast<std::int32_t>(rng() % 1200);
    ASSERT_EQ(numbered_lines_size(parts, static_cast<std::uint64_t>(count)), lines(parts, count).size())
        << parts.first_number << " x " << count;
  }
}

TEST(NumberedLines, ResultsPastTheLimitAreRefusedWithoutBeingMade) {
  EXPECT_FALSE(numbered_lines({"x", true, 0, ""}, kMost).has_value());
  EXPECT_FALSE(numbered_lines({"", false, 0, ""}, kMost).has_value());
  // The limit itself is allowed, one byte more is not.
  const std::string left((1u << 20) - 2, 'a');
  const std::optional<std::string> largest = numbered_lines({left, false, 0, ""}, 256);
  ASSERT_TRUE(largest.has_value());
  EXPECT_EQ(largest->size(), kLargestDocument);
  EXPECT_FALSE(numbered_lines({left + "a", false, 0, ""}, 256).has_value());
}

TEST(InsertInParagraphs, BeforeOrAfterEveryParagraph) {
  const std::string three = "a\r\nb\r\nc";
  EXPECT_EQ(inserted(three, Placement::BeforeParagraphs, {"No.", true, 1, "."}), "No.1.a\r\nNo.2.b\r\nNo.3.c\r\n");
  EXPECT_EQ(inserted(three, Placement::BeforeParagraphs, {"[", false, 1, "]"}), "[]a\r\n[]b\r\n[]c\r\n");
  EXPECT_EQ(inserted(three, Placement::AfterParagraphs, {"(", true, 0, ")"}), "a(0)\r\nb(1)\r\nc(2)\r\n");
  EXPECT_EQ(inserted(three, Placement::AfterParagraphs, {"-", false, 5, ""}), "a-\r\nb-\r\nc-\r\n");
  // Empty paragraphs count; a final line break leaves no paragraph after it; a lone CR or LF is
  // an ordinary byte.
  EXPECT_EQ(inserted("\r\n\r\nx\ry\r\n", Placement::BeforeParagraphs, {"", true, -1, " "}),
            "-1 \r\n0 \r\n1 x\ry\r\n");
  EXPECT_EQ(inserted("", Placement::BeforeParagraphs, {"x", true, 1, ""}), "");
  // A lone lead byte at the end belongs to the last paragraph.
  EXPECT_EQ(inserted("a\r\n\xB0", Placement::AfterParagraphs, {"!", false, 0, ""}), "a!\r\n\xB0!\r\n");
}

// Random documents of paragraphs (empty ones, lone CR and LF, double-byte characters, a lone
// lead byte at the end), random parts and starts: the text the steps written out one by one make.
TEST(InsertInParagraphs, MatchesTheStepByStepWay) {
  std::mt19937 rng(27);
  static const char* const kPieces[] = {"\r\n", "\r\n", "a", "\r", "\n", "\xB0\xA1", "\xA1\xA1", " ", "\xB0\r\n", "xyz"};
  for (int round = 0; round < 2000; ++round) {
    std::string document;
    for (int i = static_cast<int>(rng() % 12); i > 0; --i) document += kPieces[rng() % std::size(kPieces)];
    if (rng() % 5 == 0) document += '\xB0';
    const std::string left = rng() % 2 != 0 ? "No." : "", right = rng() % 2 != 0 ? "\xA1\xA3" : "";
    const bool numbered = rng() % 3 != 0;
    const std::int32_t start = rng() % 4 == 0 ? kMost - 2 : static_cast<std::int32_t>(rng() % 41) - 20;
    const Placement placement = rng() % 2 != 0 ? Placement::AfterParagraphs : Placement::BeforeParagraphs;
    ASSERT_EQ(inserted(document, placement, {left, numbered, start, right}),
              reference::insert_in_paragraphs(document, placement, left, numbered, start, right))
        << document;
  }
}

TEST(InsertInParagraphs, ResultsPastTheLimitAreRefused) {
  std::string breaks;
  for (int i = 0; i < 1000; ++i) breaks += "\r\n";
  const std::string left(300000, 'x');  // 1000 paragraphs of 300 KB each
  EXPECT_FALSE(insert_in_paragraphs(breaks, Placement::BeforeParagraphs, {left, true, 0, ""}).has_value());
  EXPECT_TRUE(insert_in_paragraphs(breaks, Placement::BeforeParagraphs, {left.substr(0, 1000), true, 0, ""}).has_value());
}

// Over many draws, each kind of character and each case near its share, every character of
// each kind drawn (the first and last included) and nothing else.
TEST(RandomText, CharactersOfTheirKindsInTheirShares) {
  constexpr int kDraws = 300000;
  std::map<char, int> seen;
  int upper = 0, lower = 0, digits = 0;
  for (const char c : random_text(kDraws, CharacterKind::LettersOrDigits)) {
    ++seen[c];
    upper += std::isupper(static_cast<unsigned char>(c)) != 0;
    lower += std::islower(static_cast<unsigned char>(c)) != 0;
    digits += std::isdigit(static_cast<unsigned char>(c)) != 0;
  }
  EXPECT_EQ(upper + lower + digits, kDraws);
  for (const int share : {upper, lower, digits}) EXPECT_NEAR(share, kDraws / 3, kDraws / 100);
  EXPECT_EQ(seen.size(), 62u);
  for (const char c : {'A', 'Z', 'a', 'z', '0', '9'}) EXPECT_NEAR(seen[c], kDraws / 3 / (c <= '9' ? 10 : 26), 400) << c;

  upper = lower = 0;
  for (const char c : random_text(kDraws, CharacterKind::Letters)) {
    upper += std::isupper(static_cast<unsigned char>(c)) != 0;
    lower += std::islower(static_cast<unsigned char>(c)) != 0;
  }
  EXPECT_EQ(upper + lower, kDraws);
  EXPECT_NEAR(upper, kDraws / 2, kDraws / 100);

  EXPECT_EQ(random_text(0, CharacterKind::Letters), "");
  EXPECT_EQ(random_text(-3, CharacterKind::LettersOrDigits), "");
  EXPECT_EQ(random_text(kLeast, CharacterKind::LettersOrDigits), "");
}

// Splits output into (account, password) pairs, checking every line's shape.
std::vector<std::pair<std::string, std::string>> pairs_of(const std::optional<std::string>& made) {
  std::vector<std::pair<std::string, std::string>> out;
  EXPECT_TRUE(made.has_value());
  if (!made) return out;
  for (const std::string& line : lines_of(*made)) {
    const std::size_t cut = line.find(kSeparator);
    EXPECT_NE(cut, std::string::npos) << line;
    if (cut == std::string::npos) continue;
    out.emplace_back(line.substr(0, cut), line.substr(cut + kSeparator.size()));
  }
  return out;
}

bool letters_or_digits(const std::string& text) {
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

TEST(Accounts, TheDialogsStartingSettingsGiveSeparatorsAlone) {
  const RandomTextRule ranges;  // both ranges, every bound empty
  std::string expected;
  for (int i = 0; i < 10; ++i) expected += kSeparator + "\r\n";
  EXPECT_EQ(accounts_and_passwords(ranges, ranges, 10), expected);
  EXPECT_EQ(accounts_and_passwords(ranges, ranges, 0), "");
  EXPECT_EQ(accounts_and_passwords(ranges, ranges, -1), "");
}

TEST(Accounts, FixedLengthsRangesAndContent) {
  RandomTextRule account{LengthChoice::Fixed, 8};
  account.letter_first = true;
  RandomTextRule password{LengthChoice::FixedContent};
  password.content = "abc";
  const auto fixed = pairs_of(accounts_and_passwords(account, password, 3));
  ASSERT_EQ(fixed.size(), 3u);
  for (const auto& [name, secret] : fixed) {
    EXPECT_EQ(name.size(), 8u);
    EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(name[0]))) << name;
    EXPECT_TRUE(letters_or_digits(name)) << name;
    EXPECT_EQ(secret, "abc");
  }

  // The first-letter rule makes one letter even of a length of 0 or less.
  for (const std::int32_t length : {0, -4, kLeast}) {
    account.length = length;
    for (const auto& [name, secret] : pairs_of(accounts_and_passwords(account, password, 20))) {
      ASSERT_EQ(name.size(), 1u);
      EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(name[0]))) << name;
    }
  }
  account.letter_first = false;
  account.length = 0;
  for (const auto& [name, secret] : pairs_of(accounts_and_passwords(account, password, 3))) EXPECT_EQ(name, "");

  // Bounds in either order; every length of the range is drawn.
  const RandomTextRule range{LengthChoice::Range, 0, 12, 6};
  std::map<std::size_t, int> lengths;
  for (const auto& [name, secret] : pairs_of(accounts_and_passwords(range, range, 2000))) {
    ++lengths[name.size()];
    ++lengths[secret.size()];
    EXPECT_TRUE(letters_or_digits(name) && letters_or_digits(secret));
  }
  EXPECT_EQ(lengths.size(), 7u);
  EXPECT_EQ(lengths.begin()->first, 6u);
  EXPECT_EQ(lengths.rbegin()->first, 12u);
  // Negative bounds count as 0.
  const RandomTextRule negative{LengthChoice::Range, 0, -5, -1};
  EXPECT_EQ(pairs_of(accounts_and_passwords(negative, negative, 1)).at(0).first, "");
}

TEST(Accounts, ResultsPastTheLimitAreRefusedBeforeAnythingIsMade) {
  const RandomTextRule empty;
  EXPECT_FALSE(accounts_and_passwords(empty, empty, kMost).has_value());
  const RandomTextRule billion{LengthChoice::Fixed, 1000000000};
  EXPECT_FALSE(accounts_and_passwords(billion, empty, 1).has_value());
  EXPECT_FALSE(accounts_and_passwords(empty, billion, 1).has_value());
  RandomTextRule long_content{LengthChoice::FixedContent};
  const std::string content(1u << 20, 'c');
  long_content.content = content;
  EXPECT_FALSE(accounts_and_passwords(empty, long_content, 300).has_value());
  // The separators count: 256 lines of an empty account, "————", 2^20 - 2 bytes of password and
  // the line break are 2^28 + 2048 bytes, past the limit, though the texts and line breaks
  // alone come to exactly 2^28.
  const RandomTextRule no_account{LengthChoice::Fixed, 0};
  const std::string almost(content.size() - 2, 'c');
  long_content.content = almost;
  EXPECT_FALSE(accounts_and_passwords(no_account, long_content, 256).has_value());
  // A letter first makes an account of length 0 one letter long: 2^18 lines of it, "————", a
  // password of 1014 bytes and the line break pass the limit by that letter a line.
  const RandomTextRule one_letter{LengthChoice::Fixed, 0, 0, 0, true};
  const std::string password(1014, 'p');
  long_content.content = password;
  EXPECT_FALSE(accounts_and_passwords(one_letter, long_content, 1 << 18).has_value());
  // A wide range is measured by what a draw can reach (32,768 values), not by its upper bound.
  const RandomTextRule wide{LengthChoice::Range, 0, 0, 1000000000};
  const auto drawn = pairs_of(accounts_and_passwords(wide, wide, 10));
  ASSERT_EQ(drawn.size(), 10u);
  for (const auto& [name, secret] : drawn) EXPECT_LE(name.size(), 32767u);
}

}  // namespace
}  // namespace quillet::tools

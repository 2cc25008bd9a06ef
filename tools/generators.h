// The tools that make text: numbered lines, a text (with a running number) put before or after
// every paragraph, and random accounts with their passwords.
//
// Every result is built whole in memory; its size is worked out before it is built, and a
// result larger than kLargestDocument (tools/limits.h) is refused (none): the caller leaves the
// document as it is. Numbers are written as the text library writes a double (ToText): every
// number that can arise here is a whole number below 10^13, so plain decimal digits with a
// minus sign when negative.
//
// Double-byte contract: the texts typed into the dialogs are put in as they stand, whatever
// characters they hold. Paragraphs are cut as for_each_paragraph cuts them (tools/paragraphs.h).
// Random texts hold ASCII letters and digits only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::tools {

// A left text, a running number or none, and a right text.
struct LineParts {
  std::string_view left;
  bool numbered = true;
  std::int32_t first_number = 0;
  std::string_view right;
};

// count lines of left + number + right + "\r\n", the numbers counting up from first_number;
// no line for a count of 0 or less.
std::optional<std::string> numbered_lines(const LineParts& parts, std::int32_t count);
// The size of count such lines, worked out without making them.
std::uint64_t numbered_lines_size(const LineParts& parts, std::uint64_t count);

// Every paragraph with the parts put before it (left + number + right + paragraph) or after it
// (paragraph + left + number + right), each line ended by "\r\n"; the paragraphs are numbered
// from first_number.
enum class Placement { BeforeParagraphs, AfterParagraphs };
std::optional<std::string> insert_in_paragraphs(std::string_view document, Placement placement,
                                                const LineParts& parts);

// The characters a random text draws from.
enum class CharacterKind { Letters, LettersOrDigits };

// length random characters (none for 0 or less), the generator first reseeded from the clock.
// For letters a draw in [1, 2] picks the case (1 upper), then a draw its letter; for letters or
// digits a draw in [1, 3] picks upper, lower or digit, then a draw its character.
std::string random_text(std::int32_t length, CharacterKind kind);

// How an account's or a password's length, or its whole content, is chosen.
enum class LengthChoice { Fixed, Range, FixedContent };
struct RandomTextRule {
  LengthChoice choice = LengthChoice::Range;
  std::int32_t length = 0;                 // Fixed
  std::int32_t shortest = 0, longest = 0;  // Range: either order, negative bounds as 0
  bool letter_first = false;               // one letter, then length - 1 others (so at least one)
  std::string_view content;                // FixedContent: every text this, as it stands
};

// One random text under the rule (the length drawn first for a range).
std::string random_text_under(const RandomTextRule& rule);

// count lines of account + "————" + password + "\r\n": the generator reseeded from the clock,
// then every account, then every password, each made under its rule.
std::optional<std::string> accounts_and_passwords(const RandomTextRule& account, const RandomTextRule& password,
                                                  std::int32_t count);

}  // namespace quillet::tools

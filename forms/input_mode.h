// The input modes of an edit box: which typed characters a mode lets in, and how a mode
// normalises the text when the box loses the focus.
//
//   0 normal, 1 read-only, 2 password, 3 integer text, 4 decimal text, 5 byte, 6 short integer,
//   7 integer, 8 long integer, 9 single real, 10 double real, 11 date-time.
//
// Texts are code page 936 bytes; the filter looks at single characters (a double-byte
// character is a code above 0xFF and is refused by every numeric mode).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::forms {

inline constexpr std::uint32_t kLastInputMode = 11;
inline constexpr std::uint32_t kReadOnlyMode = 1;
inline constexpr std::uint32_t kPasswordMode = 2;

// Control characters (codes below 32) always pass.
bool accepts_character(std::uint32_t mode, std::uint32_t code);

// The text after normalisation, or none when the mode leaves the text alone (modes 0-4).
// Modes 5-10 read a number, clamp it to the mode's range and write it back, "0" becoming the
// empty text; mode 11 reads a date-time and writes it back formatted, an unreadable or zero
// date-time becoming the empty text.
std::optional<std::string> normalised(std::uint32_t mode, std::string_view text);

// A date-time text as days since 1899-12-30 ("2026年12月9日8时5分", "2026-12-09 08:05:00",
// "2026/12/9"), or none.
std::optional<double> parse_date_time(std::string_view text);

}  // namespace quillet::forms

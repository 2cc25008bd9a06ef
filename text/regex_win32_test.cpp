// Regular expressions with the Win32 traits: character classes and case folding follow the
// system's code page 936.
#include <gtest/gtest.h>

#include <string>

#include "text/regex.h"

namespace quillet::text {
namespace {

std::size_t count_matches(const char* pattern, const char* text, std::optional<bool> case_sensitive = {}) {
  RegexVariable regex;
  EXPECT_TRUE(call::create(regex, pattern, case_sensitive)) << pattern;
  return array_element_count(call::search_all(regex, text).get());
}

TEST(RegexWin32Traits, AsciiClassesAndCaseFolding) {
  EXPECT_EQ(count_matches("[[:digit:]]+", "a12 b3"), 2u);
  EXPECT_EQ(count_matches("\\w+", "ab cd_1"), 2u);
  EXPECT_EQ(count_matches("ABC", "abc aBc", false), 2u);
  EXPECT_EQ(count_matches("\\s", "a b\tc\r\n"), 4u);
}

TEST(RegexWin32Traits, DoubleByteTextIsMatchedBytewise) {
  // A literal Chinese pattern finds its two-byte pairs; the dot takes single bytes.
  EXPECT_EQ(count_matches("\xD6\xD0", "\xD6\xD0\xCE\xC4\xD6\xD0"), 2u);
  EXPECT_EQ(count_matches(".", "\xB0\xA1"), 2u);
  EXPECT_EQ(count_matches("[\\x80-\\xFF]{2}", "a\xD6\xD0" "b"), 1u);
}

TEST(RegexWin32Traits, PatternsWithClassesOfTheCodePageCompile) {
  RegexVariable regex;
  EXPECT_TRUE(call::create(regex, "[[:alpha:]]+"));
  EXPECT_TRUE(call::create(regex, "[^[:space:]]+"));
  EXPECT_FALSE(call::create(regex, "[[:nonsense:]]"));
}

}  // namespace
}  // namespace quillet::text

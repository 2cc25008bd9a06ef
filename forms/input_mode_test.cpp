#include "forms/input_mode.h"

#include <gtest/gtest.h>

namespace quillet::forms {
namespace {

TEST(InputModeTest, FilterLetsInOnlyTheModesCharacters) {
  for (std::uint32_t mode = 0; mode <= kLastInputMode; ++mode) {
    EXPECT_TRUE(accepts_character(mode, '\b')) << mode;  // control characters always pass
    EXPECT_TRUE(accepts_character(mode, 0x16)) << mode;  // Ctrl+V
    EXPECT_TRUE(accepts_character(mode, '7')) << mode;
  }
  EXPECT_FALSE(accepts_character(3, 'a'));
  EXPECT_TRUE(accepts_character(3, '-'));
  EXPECT_FALSE(accepts_character(3, '.'));
  EXPECT_TRUE(accepts_character(4, '.'));
  EXPECT_FALSE(accepts_character(5, '-'));
  EXPECT_FALSE(accepts_character(7, 0xD6D0));  // 中
  EXPECT_TRUE(accepts_character(0, 0xD6D0));
  EXPECT_TRUE(accepts_character(11, 'x'));
}

TEST(InputModeTest, NumbersAreClampedAndZeroBecomesEmpty) {
  EXPECT_EQ(normalised(5, "300"), "255");
  EXPECT_EQ(normalised(5, "0"), "");
  EXPECT_EQ(normalised(5, "abc"), "");
  EXPECT_EQ(normalised(6, "-40000"), "-32768");
  EXPECT_EQ(normalised(7, "12-3"), "12");  // a "-" in the middle ends the number
  EXPECT_EQ(normalised(7, "99999999999"), "2147483647");
  EXPECT_EQ(normalised(8, "-99999999999999999999"), "-9223372036854775808");
  EXPECT_EQ(normalised(8, " 42 "), "42");
  EXPECT_EQ(normalised(10, "-2.5"), "-2.5");
  EXPECT_EQ(normalised(10, "0.0"), "");
  EXPECT_FALSE(normalised(0, "300").has_value());
  EXPECT_FALSE(normalised(3, "0").has_value());  // integer text is only filtered
}

TEST(InputModeTest, DateTimesAreReadInEitherFormAndWrittenBackFormatted) {
  EXPECT_EQ(normalised(11, "2026-12-09 08:05"), "2026年12月9日8时5分");
  EXPECT_EQ(normalised(11, "2026年12月9日"), "2026年12月9日");
  EXPECT_EQ(normalised(11, "2026/2/30"), "");  // no such day
  EXPECT_EQ(normalised(11, "hello"), "");
  EXPECT_EQ(normalised(11, "1899-12-30"), "");  // the zero date-time
  EXPECT_FALSE(parse_date_time("12:30").has_value());
}

}  // namespace
}  // namespace quillet::forms

#include "text/conversion.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "runtime/test_support.h"

namespace quillet::text {
namespace {

std::string text_of(const ValueRecord& value) {
  OwnedText text = call::to_text(value);
  return text ? std::string(text.get()) : std::string();
}

std::string bytes_of(const ValueRecord& value) {
  OwnedByteArray bytes = call::to_bytes(value);
  return bytes ? std::string(reinterpret_cast<const char*>(byte_array_data(bytes.get())), byte_array_size(bytes.get()))
               : std::string();
}

TEST(DateTime, OleDatesSplitIntoCalendarParts) {
  const DateParts epoch = split_date_time(0);
  EXPECT_EQ(epoch.year, 1899);
  EXPECT_EQ(epoch.month, 12);
  EXPECT_EQ(epoch.day, 30);
  const double morning = make_date_time({2026, 12, 8, 9, 5, 0});
  EXPECT_DOUBLE_EQ(morning, 46364.0 + (9 * 3600 + 5 * 60) / 86400.0);
  const DateParts back = split_date_time(morning);
  EXPECT_EQ(back.year, 2026);
  EXPECT_EQ(back.day, 8);
  EXPECT_EQ(back.hour, 9);
  EXPECT_EQ(back.minute, 5);
  EXPECT_EQ(back.second, 0);
  EXPECT_EQ(split_date_time(-1e9).year, 100);     // clamped to the first day of year 100
  EXPECT_EQ(split_date_time(1e12).year, 9999);    // and to the last of 9999
  EXPECT_EQ(split_date_time(2958465.0).month, 12);
  EXPECT_EQ(split_date_time(0.99999999).day, 31);  // rounds up into the next day
}

TEST(ToText, EveryBasicType) {
  EXPECT_EQ(text_of(byte_record(200)), "200");
  EXPECT_EQ(text_of(short_record(-5)), "-5");
  EXPECT_EQ(text_of(int_record(-2147483647 - 1)), "-2147483648");
  EXPECT_EQ(text_of(long_record(-9000000000000000000ll)), "-9000000000000000000");
  EXPECT_EQ(text_of(double_record(0.1)), "0.1");
  EXPECT_EQ(text_of(float_record(0.1f)), "0.1");
  EXPECT_EQ(text_of(double_record(1.0 / 3)), "0.3333333333333");
  EXPECT_EQ(text_of(bool_record(true)), "\xD5\xE6");   // 真
  EXPECT_EQ(text_of(bool_record(false)), "\xBC\xD9");  // 假
  EXPECT_EQ(text_of(text_record("abc")), "abc");
  EXPECT_EQ(text_of(omitted()), "");
  EXPECT_EQ(text_of(unit_record(1, 2, type_code::kEditBox)), "");
}

TEST(ToText, DateTimeShowsOnlyTheNonZeroTail) {
  const std::string date = "2026\xC4\xEA" "12\xD4\xC2" "8\xC8\xD5";  // 2026年12月8日
  EXPECT_EQ(text_of(date_time_record(make_date_time({2026, 12, 8, 0, 0, 0}))), date);
  EXPECT_EQ(text_of(date_time_record(make_date_time({2026, 12, 8, 9, 5, 0}))), date + "9\xCA\xB1" "5\xB7\xD6");
  EXPECT_EQ(text_of(date_time_record(make_date_time({2026, 12, 8, 9, 0, 0}))), date + "9\xCA\xB1");
  EXPECT_EQ(text_of(date_time_record(make_date_time({2026, 12, 8, 0, 0, 7}))),
            date + "0\xCA\xB1" "0\xB7\xD6" "7\xC3\xEB");
}

TEST(ToText, RawBytesUpToTheFirstNul) {
  OwnedByteArray bytes(make_byte_array("ab\0cd", 5));
  EXPECT_EQ(text_of(byte_array_record(bytes.get())), "ab");
  OwnedByteArray leading_nul(make_byte_array("\0ab", 3));
  EXPECT_EQ(text_of(byte_array_record(leading_nul.get())), "");
  std::int32_t numbers[] = {0x00434241};
  void* array = make_array(1, 4);
  std::memcpy(array_elements(array), numbers, 4);
  EXPECT_EQ(text_of(array_record(array, type_code::kInt)), "ABC");
  EXPECT_EQ(text_of(array_record(array, type_code::kText)), "");  // not a numeric array
  runtime::release(array);
}

TEST(ToInteger, ByTypeAndFromText) {
  EXPECT_EQ(call::to_integer("\xA3\xB1\xA3\xB2"), 12);  // full-width 1 2
  EXPECT_EQ(call::to_integer("12abc"), 12);
  EXPECT_EQ(call::to_integer("  -34"), -34);
  EXPECT_EQ(call::to_integer("\r\n12"), 12);  // line ends are leading white space too
  EXPECT_EQ(call::to_integer("\xA3\xAD" "5"), -5);       // full-width minus
  EXPECT_EQ(call::to_integer("abc"), 0);
  EXPECT_EQ(call::to_integer(nullptr), 0);
  EXPECT_EQ(call::to_integer("99999999999"), 2147483647);
  EXPECT_EQ(call::to_integer(double_record(2.9)), 2);
  EXPECT_EQ(call::to_integer(double_record(-2.9)), -2);
  EXPECT_EQ(call::to_integer(double_record(std::nan(""))), -2147483647 - 1);
  EXPECT_EQ(call::to_integer(byte_record(0xFF)), 255);
  EXPECT_EQ(call::to_integer(short_record(-2)), -2);
  EXPECT_EQ(call::to_integer(long_record(0x100000005ll)), 5);
  EXPECT_EQ(call::to_integer(bool_record(true)), 1);
  EXPECT_EQ(call::to_integer(date_time_record(5.5)), 0);
}

TEST(ToBytes, ValuesLowByteFirst) {
  EXPECT_EQ(bytes_of(text_record("hi")), "hi");
  EXPECT_EQ(bytes_of(text_record("")), "");
  EXPECT_EQ(bytes_of(int_record(0x01020304)), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(bytes_of(short_record(0x0102)), std::string("\x02\x01", 2));
  EXPECT_EQ(bytes_of(long_record(1)), std::string("\x01\0\0\0\0\0\0\0", 8));
  EXPECT_EQ(bytes_of(double_record(1.0)), std::string("\0\0\0\0\0\0\xF0\x3F", 8));
  EXPECT_EQ(bytes_of(bool_record(true)), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(bytes_of(omitted()), "");
}

TEST(Remainder, SignFollowsTheDividend) {
  EXPECT_EQ(call::remainder(7, 3), 1);
  EXPECT_EQ(call::remainder(-7, 3), -1);
  EXPECT_EQ(double_value(invoke(Remainder, 100.0, 7.0, 4.0)), 2);  // (100 mod 7) mod 4
  EXPECT_EQ(double_value(invoke(Remainder, int_record(10), byte_record(4))), 2);
}

TEST(RemainderDeathTest, ByZeroIsFatal) {
  EXPECT_EXIT(
      {
        runtime::testing_support::answer_boxes_on_stderr();
        call::remainder(7, 0);
      },
      runtime::testing_support::exited_fatally(),
      testing::EndsWith("\xB2\xBB\xC4\xDC\xC7\xF3\xD3\xE0\xCA\xFD\xD3\xDA\xC1\xE3\r\n"));  // 不能求余数于零
  EXPECT_EXIT(
      {
        runtime::testing_support::answer_boxes_on_stderr();
        call::remainder(7, std::nan(""));
      },
      runtime::testing_support::exited_fatally(), testing::HasSubstr("\xB2\xBB\xC4\xDC"));
}

TEST(Random, GeneratorSequenceAndBounds) {
  call::set_random_seed(1);
  EXPECT_EQ(call::random_number(0, 32767), 41);
  EXPECT_EQ(call::random_number(0, 32767), 18467);
  for (int i = 0; i < 1000; ++i) {
    const std::int32_t digit = call::random_number(48, 57);
    ASSERT_GE(digit, 48);
    ASSERT_LE(digit, 57);
    const std::int32_t swapped = call::random_number(5, 2);
    ASSERT_GE(swapped, 2);
    ASSERT_LE(swapped, 5);
    ASSERT_LE(call::random_number(-5, 3), 3);
    ASSERT_GE(call::random_number(-5, 3), 0);
    ASSERT_LE(call::random_number(), 32767);  // never above minimum + 32767
  }
  // Both ends of a small range are reached.
  bool drew[2] = {false, false};
  for (int i = 0; i < 200; ++i) drew[call::random_number(0, 1)] = true;
  EXPECT_TRUE(drew[0]);
  EXPECT_TRUE(drew[1]);
  call::set_random_seed(1);
  EXPECT_EQ(call::random_number(7, 7), 7);  // no draw
  EXPECT_EQ(call::random_number(0, 32767), 41);
}

// A loop's draws are the generator's own: the same numbers, and the generator goes on after them.
TEST(Random, DrawsInALoopAreTheGeneratorsDraws) {
  const std::pair<std::int32_t, std::int32_t> ranges[] = {{1, 3}, {65, 90}, {0, 9}, {5, 5}, {0, 32767}, {0, 100000}};
  call::set_random_seed(77);
  std::vector<std::int32_t> expected;
  for (int i = 0; i < 60; ++i) expected.push_back(call::random_number(ranges[i % 6].first, ranges[i % 6].second));
  call::set_random_seed(77);
  std::vector<std::int32_t> drawn;
  {
    RandomDraws draws;
    for (int i = 0; i < 30; ++i) drawn.push_back(draws.draw(ranges[i % 6].first, ranges[i % 6].second));
  }
  for (int i = 30; i < 60; ++i) drawn.push_back(call::random_number(ranges[i % 6].first, ranges[i % 6].second));
  EXPECT_EQ(drawn, expected);
}

// The largest value a range can give is reached, and nothing above it.
TEST(Random, LargestNumberOfARange) {
  EXPECT_EQ(largest_random_number(0, 32767), 32767);
  EXPECT_EQ(largest_random_number(0, 32768), 32767);  // one past what a draw reaches
  EXPECT_EQ(largest_random_number(0, 2147483647), 32767);
  EXPECT_EQ(largest_random_number(100, 40000), 32867);
  EXPECT_EQ(largest_random_number(12, 6), 12);
  EXPECT_EQ(largest_random_number(-5, 3), 3);
  EXPECT_EQ(largest_random_number(-5, -9), 0);
  EXPECT_EQ(largest_random_number(7, 7), 7);
  EXPECT_EQ(largest_random_number(2147483646, 2147483647), 2147483647);
  EXPECT_EQ(largest_random_number(std::nullopt, std::nullopt), 32767);
  call::set_random_seed(3);
  std::int32_t highest = 0;
  for (int i = 0; i < 200000; ++i) highest = std::max(highest, call::random_number(100, 40000));
  EXPECT_EQ(highest, largest_random_number(100, 40000));
}

TEST(Random, UnseededReseedsDifferEvenWithinOneTick) {
  call::set_random_seed();
  const std::int32_t first = call::random_number(0, 32767);
  call::set_random_seed();
  const std::int32_t second = call::random_number(0, 32767);
  call::set_random_seed();
  const std::int32_t third = call::random_number(0, 32767);
  EXPECT_FALSE(first == second && second == third);
}

TEST(Clock, NowIsWholeSecondsOfToday) {
  const double now = call::now();
  EXPECT_GT(now, 46000);  // after 2025
  EXPECT_DOUBLE_EQ(std::round(now * 86400), now * 86400);
  const std::int32_t second = call::second_of(now);
  EXPECT_GE(second, 0);
  EXPECT_LE(second, 59);
  EXPECT_EQ(call::second_of(make_date_time({2026, 1, 2, 3, 4, 59})), 59);
}

}  // namespace
}  // namespace quillet::text

#include "text/text_builder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/memory.h"
#include "runtime/test_support.h"
#include "text/text_value.h"
#include "text/values.h"

namespace quillet::text {
namespace {

std::string contents(const TextBuilder& builder) { return std::string(builder.data(), builder.length()); }

TEST(TextBuilder, AppendsBytesCharactersAndPairs) {
  TextBuilder builder;
  EXPECT_EQ(builder.data(), nullptr);
  builder.append("ab", 2);
  builder.append_byte('c');
  builder.append_pair(0xD6, 0xD0);
  builder.append("", 0);
  EXPECT_EQ(contents(builder), "abc\xD6\xD0");
}

TEST(TextBuilder, ResultIsAnExactSizeCopy) {
  TextBuilder builder;
  EXPECT_EQ(builder.to_text(), nullptr);  // empty builds the empty text
  builder.append("hello", 5);
  char* text = builder.to_text();
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "hello");
  EXPECT_NE(text, builder.data());
  EXPECT_EQ(contents(builder), "hello");  // the builder keeps its bytes
  runtime::release(text);
}

TEST(TextBuilder, FirstGrowthLeavesSlackOf128) {
  TextBuilder builder;
  builder.append("x", 1);
  EXPECT_EQ(builder.capacity(), 129u);
  builder.append(std::string(128, 'y').data(), 128);
  EXPECT_EQ(builder.capacity(), 129u);  // exactly full: no growth yet
  builder.append_byte('z');
  EXPECT_GE(builder.capacity(), 130u + 128u);
}

TEST(TextBuilder, LongRunsOfSmallAppendsGrowGeometrically) {
  TextBuilder builder;
  int reallocations = 0;
  std::size_t capacity = 0;
  for (int i = 0; i < 1'000'000; ++i) {
    builder.append_byte(static_cast<unsigned char>('a' + i % 26));
    if (builder.capacity() != capacity) {
      capacity = builder.capacity();
      ++reallocations;
    }
  }
  EXPECT_EQ(builder.length(), 1'000'000u);
  EXPECT_LT(reallocations, 60);  // one per 128 bytes would be almost 8,000
  EXPECT_EQ(builder.data()[999'999], static_cast<char>('a' + 999'999 % 26));
}

TEST(TextBuilder, ReserveKeepsSmallSpareAndGivesBackLargeSpare) {
  TextBuilder builder;
  char* data = builder.reserve(1000);
  ASSERT_NE(data, nullptr);
  std::memset(data, 'q', 1000);
  EXPECT_EQ(builder.length(), 1000u);
  EXPECT_EQ(builder.capacity(), 1128u);

  builder.reserve(872);  // 256 spare: left as it is
  EXPECT_EQ(builder.capacity(), 1128u);
  EXPECT_EQ(builder.length(), 872u);

  builder.reserve(871);  // 257 spare: shrunk to the request plus slack
  EXPECT_EQ(builder.capacity(), 999u);
  EXPECT_EQ(builder.length(), 871u);
  EXPECT_EQ(contents(builder), std::string(871, 'q'));
}

TEST(TextBuilder, MakeRoomDoesNotChangeTheLength) {
  TextBuilder builder;
  builder.append("ab", 2);
  builder.make_room(10000);
  EXPECT_GE(builder.capacity(), 10002u);
  EXPECT_EQ(contents(builder), "ab");
  const std::size_t capacity = builder.capacity();
  for (int i = 0; i < 10000; ++i) builder.append_byte('c');
  EXPECT_EQ(builder.capacity(), capacity);
}

// When the buffer cannot grow the program ends with the out-of-memory error rather than hand
// back part of a result.
TEST(TextBuilderDeathTest, GrowthThatCannotBeHadIsFatal) {
  const auto exhausted_after_some_text = [](auto&& grow) {
    runtime::testing_support::answer_boxes_on_stderr();
    TextBuilder builder;
    builder.append("kept", 4);
    runtime::fail_allocations_from(1);
    grow(builder);
    std::exit(0);
  };
  const auto out_of_memory = testing::HasSubstr("\xB7\xD6\xC5\xE4");  // 分配
  EXPECT_EXIT(exhausted_after_some_text([](TextBuilder& b) { b.append(std::string(200, 'x').data(), 200); }),
              runtime::testing_support::exited_fatally(), out_of_memory);
  EXPECT_EXIT(exhausted_after_some_text([](TextBuilder& b) { b.make_room(1000); }),
              runtime::testing_support::exited_fatally(), out_of_memory);
  EXPECT_EXIT(exhausted_after_some_text([](TextBuilder& b) { b.reserve(1000); }),
              runtime::testing_support::exited_fatally(), out_of_memory);
  // Within the capacity nothing is asked for, so nothing fails.
  EXPECT_EXIT(exhausted_after_some_text([](TextBuilder& b) { b.append(std::string(100, 'x').data(), 100); }),
              testing::ExitedWithCode(0), "");
}

TEST(TextBuilder, ClearAndMoveHandOverTheBlock) {
  TextBuilder first;
  first.append("abc", 3);
  TextBuilder second(std::move(first));
  EXPECT_EQ(first.length(), 0u);
  EXPECT_EQ(first.data(), nullptr);
  EXPECT_EQ(contents(second), "abc");
  TextBuilder third;
  third.append("zz", 2);
  third = std::move(second);
  EXPECT_EQ(contents(third), "abc");
  third.clear();
  EXPECT_EQ(third.capacity(), 0u);
  EXPECT_EQ(third.data(), nullptr);
}

TEST(TextBuilder, CollectsPointersIntoAnArrayResult) {
  TextBuilder pieces;
  pieces.append_pointer(make_text("one", 3));
  pieces.append_pointer(nullptr);
  pieces.append_pointer(make_text("three", 5));
  void* array = pieces.take_block_array();
  EXPECT_EQ(pieces.length(), 0u);
  ASSERT_EQ(array_element_count(array), 3u);
  EXPECT_STREQ(text_array_elements(array)[0], "one");
  EXPECT_EQ(text_array_elements(array)[1], nullptr);
  EXPECT_STREQ(text_array_elements(array)[2], "three");
  release_block_array(array);

  TextBuilder none;
  void* empty = none.take_block_array();
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(array_element_count(empty), 0u);
  release_block_array(empty);
}

}  // namespace
}  // namespace quillet::text

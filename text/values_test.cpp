#include "text/values.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "runtime/memory.h"
#include "text/text_value.h"

namespace quillet::text {
namespace {

std::int32_t int32_at(const void* block, std::size_t offset) {
  std::int32_t value;
  std::memcpy(&value, static_cast<const char*>(block) + offset, sizeof value);
  return value;
}

TEST(ByteArray, LayoutIsDimensionsCountThenBytes) {
  const unsigned char bytes[] = {0x00, 0x1A, 0xFF};
  void* array = make_byte_array(bytes, 3);
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(int32_at(array, 0), 1);
  EXPECT_EQ(int32_at(array, 4), 3);
  EXPECT_EQ(std::memcmp(static_cast<char*>(array) + 8, bytes, 3), 0);
  EXPECT_EQ(byte_array_size(array), 3u);
  EXPECT_EQ(byte_array_data(array), static_cast<unsigned char*>(array) + 8);
  runtime::release(array);
}

TEST(ByteArray, EmptyIsNull) {
  EXPECT_EQ(make_byte_array("x", 0), nullptr);
  EXPECT_EQ(byte_array_size(nullptr), 0u);
  EXPECT_EQ(byte_array_data(nullptr), nullptr);
}

TEST(Array, EmptyArrayIsARealBlock) {
  void* array = make_empty_array();
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(array_dimension_count(array), 1);
  EXPECT_EQ(array_dimension_size(array, 0), 0);
  EXPECT_EQ(array_element_count(array), 0u);
  release_block_array(array);
}

TEST(Array, ElementsFollowTheHeaderZeroed) {
  void* array = make_array(5, sizeof(std::int32_t));
  EXPECT_EQ(int32_at(array, 0), 1);
  EXPECT_EQ(int32_at(array, 4), 5);
  EXPECT_EQ(array_elements(array), static_cast<char*>(array) + 8);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(int32_at(array, 8 + 4 * i), 0);
  runtime::release(array);
}

TEST(Array, MultiDimensionalHeadersAreRead) {
  // d = 2, sizes 2 x 3, six bytes of elements: built by hand as another library would.
  unsigned char block[12 + 6] = {};
  const std::int32_t header[] = {2, 2, 3};
  std::memcpy(block, header, sizeof header);
  EXPECT_EQ(array_dimension_count(block), 2);
  EXPECT_EQ(array_dimension_size(block, 1), 3);
  EXPECT_EQ(array_element_count(block), 6u);
  EXPECT_EQ(array_elements(block), block + 12);
}

TEST(Array, ArrayOfTextsOwnsItsElements) {
  void* elements[] = {copy_text("first"), nullptr, copy_text("\xD6\xD0")};
  void* array = make_block_array(elements, 3);
  EXPECT_EQ(array_element_count(array), 3u);
  const char* const* texts = text_array_elements(static_cast<const void*>(array));
  EXPECT_STREQ(texts[0], "first");
  EXPECT_EQ(texts[1], nullptr);
  EXPECT_STREQ(texts[2], "\xD6\xD0");
  release_block_array(array);  // frees both texts; the null element is skipped
  release_block_array(nullptr);
}

TEST(Array, ReleasingSkipsConstantElements) {
  // A constant slipped into an array must not reach the heap's free.
  void* elements[] = {const_cast<char*>(kEmptyText), copy_text("x")};
  release_block_array(make_block_array(elements, 2));
}

}  // namespace
}  // namespace quillet::text

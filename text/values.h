// Byte array values and array values: counted heap blocks from runtime::allocate.
//
// Byte array: int32 dimension count (always 1), int32 byte count n, then the n bytes. The empty
// byte array is null; none is ever made with n = 0.
//
// Array: int32 dimension count d, d int32 sizes, then the elements one after another (their
// number is the product of the sizes). Arrays made here are one-dimensional, so the header is
// 8 bytes and pointer elements stay aligned. An array of texts (or of byte arrays) owns one
// block per element, null for an empty element; release_block_array frees them all.
// An array result is never null: the empty array is a block with d = 1 and size 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillet::text {

// Byte arrays.
void* make_byte_array(const void* bytes, std::size_t count);
std::size_t byte_array_size(const void* byte_array);
const unsigned char* byte_array_data(const void* byte_array);

// Arrays.
void* make_array(std::size_t element_count, std::size_t element_size);  // zero-filled elements
inline void* make_empty_array() { return make_array(0, 1); }
std::int32_t array_dimension_count(const void* array);
std::int32_t array_dimension_size(const void* array, int dimension);  // 0-based dimension
std::size_t array_element_count(const void* array);
void* array_elements(void* array);
const void* array_elements(const void* array);

// A one-dimensional array taking over these blocks (texts or byte arrays) as its elements.
void* make_block_array(void* const* blocks, std::size_t count);
inline char** text_array_elements(void* array) { return static_cast<char**>(array_elements(array)); }
inline const char* const* text_array_elements(const void* array) {
  return static_cast<const char* const*>(array_elements(array));
}

// Releases every element block, then the array. Null is ignored.
void release_block_array(void* array);

}  // namespace quillet::text

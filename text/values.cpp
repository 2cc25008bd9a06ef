#include "text/values.h"

#include <cstring>

#include "runtime/memory.h"

namespace quillet::text {
namespace {

std::int32_t read_int32(const void* at) {
  std::int32_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

void write_int32(void* at, std::int32_t value) { std::memcpy(at, &value, sizeof value); }

std::size_t header_size(const void* array) {
  return sizeof(std::int32_t) * (1 + static_cast<std::size_t>(array_dimension_count(array)));
}

}  // namespace

void* make_byte_array(const void* bytes, std::size_t count) {
  if (count == 0) return nullptr;
  auto* block = static_cast<unsigned char*>(runtime::allocate(2 * sizeof(std::int32_t) + count));
  write_int32(block, 1);
  write_int32(block + 4, static_cast<std::int32_t>(count));
  std::memcpy(block + 8, bytes, count);
  return block;
}

std::size_t byte_array_size(const void* byte_array) {
  return byte_array != nullptr ? static_cast<std::size_t>(read_int32(static_cast<const char*>(byte_array) + 4)) : 0;
}

const unsigned char* byte_array_data(const void* byte_array) {
  return byte_array != nullptr ? static_cast<const unsigned char*>(byte_array) + 8 : nullptr;
}

void* make_array(std::size_t element_count, std::size_t element_size) {
  const std::size_t bytes = element_count * element_size;
  auto* block = static_cast<unsigned char*>(runtime::allocate(8 + bytes));
  write_int32(block, 1);
  write_int32(block + 4, static_cast<std::int32_t>(element_count));
  std::memset(block + 8, 0, bytes);
  return block;
}

std::int32_t array_dimension_count(const void* array) { return read_int32(array); }

std::int32_t array_dimension_size(const void* array, int dimension) {
  return read_int32(static_cast<const char*>(array) + 4 * (1 + dimension));
}

std::size_t array_element_count(const void* array) {
  std::size_t count = 1;
  for (int d = 0; d < array_dimension_count(array); ++d) count *= static_cast<std::size_t>(array_dimension_size(array, d));
  return count;
}

void* array_elements(void* array) { return static_cast<char*>(array) + header_size(array); }
const void* array_elements(const void* array) { return static_cast<const char*>(array) + header_size(array); }

void* make_block_array(void* const* blocks, std::size_t count) {
  void* array = make_array(count, sizeof(void*));
  if (count != 0) std::memcpy(array_elements(array), blocks, count * sizeof(void*));
  return array;
}

void release_block_array(void* array) {
  if (array == nullptr) return;
  const std::size_t count = array_element_count(array);
  const char* elements = static_cast<const char*>(array_elements(array));
  for (std::size_t i = 0; i < count; ++i) {
    void* element;
    std::memcpy(&element, elements + i * sizeof(void*), sizeof element);
    runtime::release(element);
  }
  runtime::release(array);
}

}  // namespace quillet::text

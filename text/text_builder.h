// The growable byte buffer in which commands assemble a result before copying it once into an
// exact-size text block.
//
// The builder takes its memory from the process heap directly, trying a smaller growth before
// it gives up; when even that fails, the program ends with the out-of-memory error, as
// runtime::allocate does. A command therefore never hands back part of a result.
//
// Bytes go in as given; the builder knows nothing of characters. append_pair exists so that a
// double-byte character is always written whole.
#pragma once

#include <cstddef>

namespace quillet::text {

class TextBuilder {
 public:
  TextBuilder() = default;
  ~TextBuilder();
  TextBuilder(TextBuilder&& other) noexcept;
  TextBuilder& operator=(TextBuilder&& other) noexcept;
  TextBuilder(const TextBuilder&) = delete;
  TextBuilder& operator=(const TextBuilder&) = delete;

  void append(const void* bytes, std::size_t count);
  void append_byte(unsigned char byte);
  void append_pair(unsigned char first, unsigned char second);
  void append_pointer(const void* pointer);  // collects the elements of an array result

  // Sets the length to count and returns the data for the caller to fill (null only when count
  // is 0 and nothing was ever allocated). Asking for less than the capacity gives memory back
  // only when more than 256 bytes would be left spare.
  char* reserve(std::size_t count);

  // Makes room for extra more bytes without changing the length, so a known amount of output
  // can be appended without further growth.
  void make_room(std::size_t extra);

  void clear();  // releases the block

  std::size_t length() const { return length_; }
  std::size_t capacity() const { return capacity_; }
  const char* data() const { return data_; }
  char* data() { return data_; }

  // A new exact-size text block (runtime::allocate) holding the bytes; null when empty. The
  // builder keeps its contents.
  char* to_text() const;

  // A one-dimensional array whose elements are the pointers appended with append_pointer.
  // The array takes over the blocks they point to; the builder is left empty.
  void* take_block_array();

 private:
  void grow_to(std::size_t needed);
  bool reallocate_to(std::size_t new_capacity);

  char* data_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t length_ = 0;
};

}  // namespace quillet::text

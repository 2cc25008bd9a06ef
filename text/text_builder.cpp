#include "text/text_builder.h"

#include <cstring>
#include <utility>

#include "runtime/memory.h"
#include "text/text_value.h"
#include "text/values.h"

namespace quillet::text {
namespace {
constexpr std::size_t kSlack = 128;        // room added on every reallocation
constexpr std::size_t kMaxIdleSpare = 256;  // spare bytes kept when the length drops
}  // namespace

TextBuilder::~TextBuilder() { clear(); }

TextBuilder::TextBuilder(TextBuilder&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      capacity_(std::exchange(other.capacity_, 0)),
      length_(std::exchange(other.length_, 0)) {}

TextBuilder& TextBuilder::operator=(TextBuilder&& other) noexcept {
  if (this != &other) {
    clear();
    data_ = std::exchange(other.data_, nullptr);
    capacity_ = std::exchange(other.capacity_, 0);
    length_ = std::exchange(other.length_, 0);
  }
  return *this;
}

bool TextBuilder::reallocate_to(std::size_t new_capacity) {
  void* block = runtime::heap_reallocate(data_, new_capacity);
  if (block == nullptr) return false;
  data_ = static_cast<char*>(block);
  capacity_ = new_capacity;
  return true;
}

// Grows to the needed length plus some slack, and by at least half the current capacity, so
// that a long series of small appends costs linear time rather than one copy of the whole
// buffer every 128 bytes.
// When neither size can be had, the program ends with the out-of-memory error.
void TextBuilder::grow_to(std::size_t needed) {
  if (needed <= capacity_) return;
  std::size_t target = needed + kSlack;
  if (target < capacity_ + capacity_ / 2) target = capacity_ + capacity_ / 2;
  if (!reallocate_to(target) && !reallocate_to(needed + kSlack)) runtime::fail_allocation(needed + kSlack);
}

void TextBuilder::make_room(std::size_t extra) { grow_to(length_ + extra); }

void TextBuilder::append(const void* bytes, std::size_t count) {
  if (count == 0) return;
  grow_to(length_ + count);
  std::memcpy(data_ + length_, bytes, count);
  length_ += count;
}

void TextBuilder::append_byte(unsigned char byte) {
  grow_to(length_ + 1);
  data_[length_++] = static_cast<char>(byte);
}

void TextBuilder::append_pair(unsigned char first, unsigned char second) {
  grow_to(length_ + 2);
  data_[length_++] = static_cast<char>(first);
  data_[length_++] = static_cast<char>(second);
}

void TextBuilder::append_pointer(const void* pointer) { append(&pointer, sizeof pointer); }

char* TextBuilder::reserve(std::size_t count) {
  if (count > capacity_) {
    if (!reallocate_to(count + kSlack)) runtime::fail_allocation(count + kSlack);
  } else if (capacity_ - count > kMaxIdleSpare) {
    reallocate_to(count + kSlack);  // giving memory back may fail harmlessly
  }
  length_ = count;
  return data_;
}

void TextBuilder::clear() {
  runtime::heap_free(data_);
  data_ = nullptr;
  capacity_ = 0;
  length_ = 0;
}

char* TextBuilder::to_text() const { return make_text(data_, length_); }

void* TextBuilder::take_block_array() {
  const std::size_t count = length_ / sizeof(void*);
  void* array = make_block_array(reinterpret_cast<void* const*>(data_), count);
  clear();
  return array;
}

}  // namespace quillet::text

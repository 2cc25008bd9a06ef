#include "runtime/memory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "runtime/errors.h"
#include "runtime/platform.h"

namespace quillet::runtime {
namespace {

// Constants are recognised by address: everything the program stores in itself (string
// literals, tables, the static empty string) lies inside the loaded program image, and no
// heap block ever does.
const platform::AddressRange& image() {
  static const platform::AddressRange range = platform::program_image();
  return range;
}

// The allocation seam: requests counted, and the one a test chose refused.
std::size_t requests_made = 0;
std::size_t first_refused = 0;  // 0: none

// Counts the request; true when it is to be refused.
bool refuse_this_request() {
  ++requests_made;
  return first_refused != 0 && requests_made >= first_refused;
}

void* raw_allocate(std::size_t bytes) { return refuse_this_request() ? nullptr : platform::heap_allocate(bytes); }
void* raw_reallocate(void* block, std::size_t bytes) {
  return refuse_this_request() ? nullptr : platform::heap_reallocate(block, bytes);
}

// Copies from a constant. The constant's own size is unknown, so the copy may run past it into
// the neighbouring static data (never past the image): deliberate, hence no address check.
#if defined(__SANITIZE_ADDRESS__)
__attribute__((no_sanitize("address")))
#endif
void copy_out_of_image(void* to, const void* from, std::size_t bytes) {
  auto* out = static_cast<unsigned char*>(to);
  const auto* in = static_cast<const unsigned char*>(from);
  for (std::size_t i = 0; i < bytes; ++i) out[i] = in[i];
}

}  // namespace

void fail_allocation(std::size_t bytes) {
  std::string message = "分配 " + std::to_string(bytes) + " 字节内存失败!";
  raise_error(0, message.c_str());
  platform::end_process(-1);  // raise_error does not come back; this keeps the contract visible
}

void fail_allocations_from(std::size_t count) { first_refused = count == 0 ? 0 : requests_made + count; }
std::size_t allocation_count() { return requests_made; }

bool is_constant(const void* block) {
  const auto address = reinterpret_cast<std::uintptr_t>(block);
  return address >= image().begin && address < image().end;
}

void* allocate(std::size_t bytes) {
  // A zero-byte request still yields a distinct block, so null always means failure.
  void* block = raw_allocate(bytes == 0 ? 1 : bytes);
  if (block == nullptr) fail_allocation(bytes);
  return block;
}

void* reallocate(void* block, std::size_t bytes) {
  if (block == nullptr) return allocate(bytes);
  if (is_constant(block)) {
    // A constant is never resized in place: copy what the new block can hold, without
    // reading past the end of the image.
    void* fresh = allocate(bytes);
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    copy_out_of_image(fresh, block, std::min<std::uintptr_t>(bytes, image().end - start));
    return fresh;
  }
  void* resized = raw_reallocate(block, bytes == 0 ? 1 : bytes);
  if (resized == nullptr) fail_allocation(bytes);
  return resized;
}

void release(const void* block) {
  if (block == nullptr || is_constant(block)) return;
  platform::heap_free(const_cast<void*>(block));
}

void* heap_allocate(std::size_t bytes) { return raw_allocate(bytes == 0 ? 1 : bytes); }
void* heap_reallocate(void* block, std::size_t bytes) {
  return block == nullptr ? heap_allocate(bytes) : raw_reallocate(block, bytes == 0 ? 1 : bytes);
}
void heap_free(void* block) {
  if (block != nullptr) platform::heap_free(block);
}

}  // namespace quillet::runtime

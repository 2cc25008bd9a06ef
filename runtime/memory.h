// Memory services: every block handed between the layers comes from here.
//
// allocate/reallocate never return null: running out of memory is the fatal run-time error
// "分配 N 字节内存失败!". release accepts null and the program's own constants and ignores both,
// so any text pointer may be released without knowing where it came from.
#pragma once

#include <cstddef>

namespace quillet::runtime {

void* allocate(std::size_t bytes);
void* reallocate(void* block, std::size_t bytes);
void release(const void* block);

// True for a pointer into the program's static storage, which is never freed or resized.
bool is_constant(const void* block);

// The raw process heap, without the fatal error on failure: for buffers such as the text
// builder that may try a smaller size before giving up.
void* heap_allocate(std::size_t bytes);
void* heap_reallocate(void* block, std::size_t bytes);
void heap_free(void* block);

// The fatal error for a request of this many bytes that could not be met: for code that takes
// its memory from the raw heap and cannot go on without it. Nothing half-built is returned.
[[noreturn]] void fail_allocation(std::size_t bytes);

// Test seam: from the count-th allocation request from now on (1 for the next one), every
// request fails as if the heap were exhausted, until a call with 0 turns it off. Every request
// counts: allocate, reallocate, and the raw heap calls.
void fail_allocations_from(std::size_t count);
// The requests made since the program started.
std::size_t allocation_count();

}  // namespace quillet::runtime

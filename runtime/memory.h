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
// builder that report failure themselves.
void* heap_allocate(std::size_t bytes);
void* heap_reallocate(void* block, std::size_t bytes);
void heap_free(void* block);

}  // namespace quillet::runtime

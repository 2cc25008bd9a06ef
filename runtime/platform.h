// The few services the runtime needs from the operating system. Declared here without any
// system header; platform_posix.cpp and platform_win32.cpp implement them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillet::runtime::platform {

// The process heap. These never raise errors: null means the heap said no.
void* heap_allocate(std::size_t bytes);
void* heap_reallocate(void* block, std::size_t bytes);
void heap_free(void* block);

// The program image's static storage (code, read-only data, initialised and zeroed data).
// Heap blocks never lie inside it, so any pointer that does is one of the program's own
// constants.
struct AddressRange {
  std::uintptr_t begin = 0;
  std::uintptr_t end = 0;
};
AddressRange program_image();

// Shows a message box and returns the Win32 button identifier pressed (IDOK = 1 ...).
// owner_handle is a window handle or 0. Natively the box is written to stderr.
int show_message_box(std::string_view text, std::string_view caption, std::uint32_t style,
                     std::uintptr_t owner_handle);

bool on_main_thread();

// Hands a termination request to the main thread. Returns only if that could not be done
// or the main thread was already shutting down.
void forward_termination_to_main_thread(int exit_code);

[[noreturn]] void end_process(int exit_code);

}  // namespace quillet::runtime::platform

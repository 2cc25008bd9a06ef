// The runtime's system services on a POSIX system: used by the native build, where the
// portable code and its tests run without Windows.
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "runtime/message_box.h"
#include "runtime/platform.h"

// Defined by the GNU linkers around the loaded executable.
extern "C" char __executable_start[];
extern "C" char _end[];

namespace quillet::runtime::platform {
namespace {
// Static initialisation runs on the thread that starts the program.
const std::thread::id main_thread_id = std::this_thread::get_id();
}  // namespace

void* heap_allocate(std::size_t bytes) { return std::malloc(bytes); }
void* heap_reallocate(void* block, std::size_t bytes) { return std::realloc(block, bytes); }
void heap_free(void* block) { std::free(block); }

AddressRange program_image() {
  return {reinterpret_cast<std::uintptr_t>(__executable_start), reinterpret_cast<std::uintptr_t>(_end)};
}

// There is nobody to answer a box here: the text goes to stderr as it is, and only a plain
// OK box counts as answered.
int show_message_box(std::string_view text, std::string_view, std::uint32_t style, std::uintptr_t) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
  return (style & 0x0F) == kBoxOk ? kButtonOk : 0;
}

bool on_main_thread() { return std::this_thread::get_id() == main_thread_id; }

// No message loop natively: the caller ends the process itself.
void forward_termination_to_main_thread(int) {}

void end_process(int exit_code) {
  std::fflush(nullptr);
  std::_Exit(exit_code);
}

}  // namespace quillet::runtime::platform

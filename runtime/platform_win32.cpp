// The runtime's system services on Windows.
#include <windows.h>

#include <atomic>
#include <string>

#include "runtime/platform.h"
#include "runtime/termination.h"
#include "runtime/win32_text.h"
#include "runtime/win32_runtime.h"

namespace quillet::runtime::platform {
namespace {

HANDLE process_heap() {
  static const HANDLE heap = GetProcessHeap();
  return heap;
}

// Static initialisation runs on the thread that starts the program.
const DWORD main_thread_id = GetCurrentThreadId();

std::atomic<HWND> runtime_window_handle{nullptr};

}  // namespace

void* heap_allocate(std::size_t bytes) { return HeapAlloc(process_heap(), 0, bytes); }
void* heap_reallocate(void* block, std::size_t bytes) { return HeapReAlloc(process_heap(), 0, block, bytes); }
void heap_free(void* block) { HeapFree(process_heap(), 0, block); }

AddressRange program_image() {
  const auto base = reinterpret_cast<const unsigned char*>(GetModuleHandleW(nullptr));
  const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto begin = reinterpret_cast<std::uintptr_t>(base);
  return {begin, begin + nt->OptionalHeader.SizeOfImage};
}

int show_message_box(std::string_view text, std::string_view caption, std::uint32_t style,
                     std::uintptr_t owner_handle) {
  const std::wstring wide_text = win32::widen(text);
  const std::wstring wide_caption = win32::widen(caption);
  return MessageBoxW(reinterpret_cast<HWND>(owner_handle), wide_text.c_str(), wide_caption.c_str(), style);
}

bool on_main_thread() { return GetCurrentThreadId() == main_thread_id; }

void forward_termination_to_main_thread(int exit_code) {
  if (HWND window = runtime_window_handle.load()) {
    SendMessageW(window, win32::kTerminateMessage, static_cast<WPARAM>(exit_code), 0);
  }
}

void end_process(int exit_code) {
  ExitProcess(static_cast<UINT>(exit_code));
}

}  // namespace quillet::runtime::platform

namespace quillet::runtime::win32 {

void set_runtime_window(HWND window) { platform::runtime_window_handle.store(window); }
HWND runtime_window() { return platform::runtime_window_handle.load(); }

bool handle_runtime_message(UINT message, WPARAM wparam, LPARAM) {
  if (message != kTerminateMessage) return false;
  terminate(static_cast<int>(wparam));
  return true;
}

}  // namespace quillet::runtime::win32

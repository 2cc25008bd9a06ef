// Win32-only parts of the runtime that the form runtime needs to see.
#pragma once

#include <windows.h>

namespace quillet::runtime::win32 {

// Sent to the runtime window by a thread other than the main one to ask for termination;
// wParam carries the exit code.
inline constexpr UINT kTerminateMessage = 0x83E7;

// The hidden window owned by the main thread that receives kTerminateMessage.
void set_runtime_window(HWND window);
HWND runtime_window();

// For the runtime window's procedure: handles the runtime's own messages, returns false for
// every other message.
bool handle_runtime_message(UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace quillet::runtime::win32

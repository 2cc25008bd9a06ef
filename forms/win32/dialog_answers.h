// Test support: answers the system's dialog boxes (file, font, print) of this thread without a
// human. A WH_CBT hook sees each dialog as it is activated and starts a timer in it; the
// answer runs from that timer, in the dialog's own loop, once the dialog is fully set up.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace quillet::forms::win32 {

class DialogAnswers {
 public:
  explicit DialogAnswers(std::function<void(HWND)> answer) {
    answer_ = std::move(answer);
    hook_ = SetWindowsHookExW(WH_CBT, on_event, nullptr, GetCurrentThreadId());
  }
  ~DialogAnswers() {
    UnhookWindowsHookEx(hook_);
    answer_ = nullptr;
  }

 private:
  // The answer comes from a timer in the dialog's own loop, once the dialog is fully set up.
  static LRESULT CALLBACK on_event(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
      const auto window = reinterpret_cast<HWND>(wparam);
      wchar_t name[16] = {};
      GetClassNameW(window, name, 16);
      if (std::wstring(name) == L"#32770" && answer_) SetTimer(window, kTimer, 50, on_timer);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
  }
  static void CALLBACK on_timer(HWND window, UINT, UINT_PTR, DWORD) {
    KillTimer(window, kTimer);
    if (answer_) answer_(window);
  }
  static constexpr UINT_PTR kTimer = 0x5155;
  HHOOK hook_;
  static inline std::function<void(HWND)> answer_;
};

inline void press(HWND dialog, int button) { PostMessageW(dialog, WM_COMMAND, button, 0); }


}  // namespace quillet::forms::win32

// The runtime's Win32 side under a real Windows API: the error box is a real message box,
// and a termination request from another thread is carried out by the main thread.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "runtime/errors.h"
#include "runtime/memory.h"
#include "runtime/message_box.h"
#include "runtime/termination.h"
#include "runtime/test_support.h"
#include "runtime/win32_runtime.h"

namespace quillet::runtime {
namespace {

using testing::Eq;
using testing_support::allocation_failure_message;
using testing_support::exited_fatally;
using testing_support::kBoxHeader;
using testing_support::kCodeLabel;
using testing_support::kErrorCaption;
using testing_support::kMessageLabel;
using testing_support::write_to_stderr;

std::string narrow_cp936(const wchar_t* wide) {
  const int bytes = WideCharToMultiByte(936, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(936, 0, wide, -1, narrow.data(), bytes, nullptr, nullptr);
  narrow.resize(narrow.size() - 1);
  return narrow;
}

// Reads the real box when it activates, writes "<caption>|<text>" to stderr and presses OK.
LRESULT CALLBACK answer_box(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE) {
    auto box = reinterpret_cast<HWND>(wparam);
    wchar_t class_name[32] = {};
    GetClassNameW(box, class_name, 32);
    if (std::wstring(class_name) == L"#32770") {
      wchar_t caption[256] = {};
      wchar_t text[1024] = {};
      GetWindowTextW(box, caption, 256);
      GetDlgItemTextW(box, 0xFFFF, text, 1024);
      write_to_stderr(narrow_cp936(caption) + "|" + narrow_cp936(text));
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

void answer_real_boxes() { SetWindowsHookExW(WH_CBT, answer_box, nullptr, GetCurrentThreadId()); }

TEST(Win32ErrorBoxDeathTest, CodeFourInARealBox) {
  EXPECT_EXIT(
      {
        answer_real_boxes();
        raise_error(4, "");
      },
      exited_fatally(), Eq(kErrorCaption + "|" + kBoxHeader + kCodeLabel + "4\r\n\r\n"));
}

TEST(Win32ErrorBoxDeathTest, AllocationFailureInARealBox) {
  constexpr std::size_t impossible = std::size_t{1} << 62;
  EXPECT_EXIT(
      {
        answer_real_boxes();
        allocate(impossible);
      },
      exited_fatally(),
      Eq(kErrorCaption + "|" + kBoxHeader + kMessageLabel + allocation_failure_message(impossible) + "\r\n"));
}

TEST(Win32MessageBox, RealBoxReturnsThePressedButton) {
  HHOOK hook = SetWindowsHookExW(WH_CBT, answer_box, nullptr, GetCurrentThreadId());
  testing::internal::CaptureStderr();
  const int pressed = message_box("\xD6\xD0\xCE\xC4", "\xD0\xC5\xCF\xA2\xA3\xBA", kBoxOk);  // 中文, 信息：
  const std::string seen = testing::internal::GetCapturedStderr();
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(pressed, kButtonOk);
  EXPECT_EQ(seen, "\xD0\xC5\xCF\xA2\xA3\xBA|\xD6\xD0\xCE\xC4");
}

TEST(Win32Memory, ConstantsLieInTheProgramImage) {
  static const char constant[] = "abc";
  EXPECT_TRUE(is_constant(constant));
  EXPECT_TRUE(is_constant(L"wide literal"));
  void* block = allocate(32);
  EXPECT_FALSE(is_constant(block));
  EXPECT_FALSE(is_constant(GetProcessHeap()));
  release(block);
}

LRESULT CALLBACK runtime_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (win32::handle_runtime_message(message, wparam, lparam)) return 0;
  return DefWindowProcW(window, message, wparam, lparam);
}

HWND create_runtime_window() {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = runtime_window_proc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"_QF_TestRuntime";
  RegisterClassW(&window_class);
  return CreateWindowExW(0, L"_QF_TestRuntime", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

void mark_callback(int index) { write_to_stderr("callback " + std::to_string(index) + ";"); }

TEST(Win32TerminationDeathTest, OtherThreadAsksTheMainThreadToShutDown) {
  EXPECT_EXIT(
      {
        win32::set_runtime_window(create_runtime_window());
        add_exit_callback(mark_callback);
        add_shutdown_step(ShutdownStage::ReleaseResources, [] {
          write_to_stderr(GetCurrentThreadId() == GetWindowThreadProcessId(win32::runtime_window(), nullptr)
                              ? "resources on main thread;"
                              : "resources elsewhere;");
        });
        std::thread requester([] { terminate(7); });
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        requester.join();
      },
      testing::ExitedWithCode(7), Eq("callback 0;resources on main thread;"));
}

}  // namespace
}  // namespace quillet::runtime

// The form runtime under Wine with the stored forms: creating the main window, menu commands
// reaching their handlers, the recent-file links, the close query, and the fatal errors.
#include "forms/win32/form_runtime.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "forms/catalogue.h"
#include "runtime/test_support.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

using R = HandlerRole;

class FormRuntimeTest : public testing::Test {
 protected:
  void SetUp() override { runtime_ = &FormRuntime::initialise(); }
  void TearDown() override {
    runtime_->close_all_forms();
    for (std::uint32_t role = 0; role < static_cast<std::uint32_t>(R::Count); ++role) runtime_->register_handler(role, {});
  }
  // Counts the calls of a role and remembers the sender of the last one.
  void count(R role, std::int64_t answer = 1) {
    runtime_->register_handler(static_cast<std::uint32_t>(role), [this, role, answer](const EventNotice&) {
      ++calls_[role];
      senders_[role] = runtime_->event_sender();
      return answer;
    });
  }
  FormRuntime* runtime_ = nullptr;
  std::map<R, int> calls_;
  std::map<R, std::pair<std::uint32_t, std::uint32_t>> senders_;
};

TEST_F(FormRuntimeTest, MainWindowFromTheStoredForm) {
  count(R::StartUp);
  count(R::FitEditBox);
  ASSERT_TRUE(runtime_->load_form(kMainForm));
  HWND window = runtime_->window_of(kMainForm);
  ASSERT_NE(window, nullptr);
  wchar_t title[128] = {};
  GetWindowTextW(window, title, 128);
  EXPECT_EQ(runtime::win32::narrow(title), "Quillet 0.1 - Quillet \xBF\xAA\xB7\xA2\xD7\xE9");  // 开发组
  RECT rect{};
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, 636);
  EXPECT_EQ(rect.bottom - rect.top, 498);
  ASSERT_NE(GetMenu(window), nullptr);
  EXPECT_EQ(GetMenuItemCount(GetMenu(window)), 8);
  EXPECT_EQ(calls_[R::StartUp], 1);
  EXPECT_GE(calls_[R::FitEditBox], 1);
  EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);  // both images of the stored icon
  EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);

  // Loading it again only activates it.
  EXPECT_TRUE(runtime_->load_form(kMainForm));
  EXPECT_EQ(calls_[R::StartUp], 1);
  EXPECT_EQ(runtime_->window_of(kMainForm), window);
}

TEST_F(FormRuntimeTest, MenuCommandsReachTheirHandlersWithTheSender) {
  const auto& kRecent = unit::main_window::kRecentItems;
  count(R::NewDocument);
  count(R::OpenRecentFile);
  ASSERT_TRUE(runtime_->load_form(kMainForm));
  HWND window = runtime_->window_of(kMainForm);
  SendMessageW(window, WM_COMMAND, 20001, 0);
  EXPECT_EQ(calls_[R::NewDocument], 1);
  EXPECT_EQ(senders_[R::NewDocument].first, kMainForm);
  EXPECT_EQ(runtime_->event_sender(), (std::pair<std::uint32_t, std::uint32_t>{0, 0}));

  SendMessageW(window, WM_COMMAND, 20009, 0);  // entry "2": stored without a handler
  EXPECT_EQ(calls_[R::OpenRecentFile], 0);
  runtime_->link_events(kMainForm, kRecent[1].unit_id, kRecent[0].unit_id);
  runtime_->link_events(kMainForm, kRecent[2].unit_id, kRecent[0].unit_id);
  SendMessageW(window, WM_COMMAND, 20009, 0);
  EXPECT_EQ(calls_[R::OpenRecentFile], 1);
  EXPECT_EQ(senders_[R::OpenRecentFile].second, kRecent[1].unit_id);  // the entry chosen, not entry "1"
  SendMessageW(window, WM_COMMAND, 20010, 0);
  EXPECT_EQ(senders_[R::OpenRecentFile].second, kRecent[2].unit_id);
  runtime_->link_events(kMainForm, window_unit_of(kMainForm), 0);  // the window unit drops every link
  SendMessageW(window, WM_COMMAND, 20009, 0);
  EXPECT_EQ(calls_[R::OpenRecentFile], 2);
}

TEST_F(FormRuntimeTest, AcceleratorsReachTheirHandlersThroughTheLoop) {
  count(R::NewDocument);
  count(R::FindNext);
  ASSERT_TRUE(runtime_->load_form(kMainForm));
  const HWND edit = runtime_->control(kMainForm, unit::main_window::kDocument.unit_id)->window();
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageW(edit, WM_KEYDOWN, 'N', 0);
  runtime_->process_pending_messages();
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  PostMessageW(edit, WM_KEYDOWN, VK_F3, 0);
  runtime_->process_pending_messages();
  EXPECT_EQ(calls_[R::NewDocument], 1);  // Ctrl+N
  EXPECT_EQ(calls_[R::FindNext], 1);     // F3
}

TEST_F(FormRuntimeTest, CloseQueryCanKeepTheWindowOpen) {
  count(R::AskBeforeClosing, 0);
  count(R::ShutDown);
  ASSERT_TRUE(runtime_->load_form(kMainForm));
  HWND window = runtime_->window_of(kMainForm);
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(calls_[R::ShutDown], 0);

  count(R::AskBeforeClosing, 1);
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(calls_[R::ShutDown], 1);
  EXPECT_FALSE(runtime_->is_loaded(kMainForm));
}

TEST_F(FormRuntimeTest, EveryDialogLoadsAndCloses) {
  for (std::uint32_t form_id : {kAboutForm, kFindForm, kReplaceForm, kNumberedTextForm, kRegexForm, kTabReplaceForm,
                                kLineBreakReplaceForm, kLeadingSpacesForm, kAccountPasswordForm, kSplitTextForm,
                                kDeleteSpacesForm}) {
    ASSERT_TRUE(runtime_->load_form(form_id)) << std::hex << form_id;
    EXPECT_EQ(GetMenu(runtime_->window_of(form_id)), nullptr);
  }
  runtime_->close_form(kFindForm, true);
  EXPECT_FALSE(runtime_->is_loaded(kFindForm));
  EXPECT_TRUE(runtime_->is_loaded(kAboutForm));
  EXPECT_FALSE(runtime_->load_form(0x52019999));
}

// A form window whose creation fails after its first message (here its WM_CREATE answers -1,
// through a procedure put in front of the form's while the window is being made): the runtime
// has already forgotten it when it was destroyed, and the forms open before stay open.
WNDPROC form_procedure_behind = nullptr;
LRESULT CALLBACK refuse_creation(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CREATE) return -1;
  return CallWindowProcW(form_procedure_behind, window, message, wparam, lparam);
}
LRESULT CALLBACK fail_form_windows(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    const HWND window = reinterpret_cast<HWND>(wparam);
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (std::wstring(name) == L"_QF_Window") {
      form_procedure_behind = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(refuse_creation)));
    }
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(FormRuntimeTest, AFormWhoseWindowFailsLateLeavesTheOtherFormsOpen) {
  ASSERT_TRUE(runtime_->load_form(kAboutForm));
  ASSERT_TRUE(runtime_->load_form(kMainForm));
  HHOOK hook = SetWindowsHookExW(WH_CBT, fail_form_windows, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  EXPECT_FALSE(runtime_->load_form(kFindForm));
  UnhookWindowsHookEx(hook);
  EXPECT_NE(form_procedure_behind, nullptr);  // the window was made, then refused
  EXPECT_FALSE(runtime_->is_loaded(kFindForm));
  EXPECT_TRUE(runtime_->is_loaded(kMainForm));
  EXPECT_TRUE(runtime_->is_loaded(kAboutForm));
  EXPECT_NE(runtime_->control(kMainForm, unit::main_window::kDocument.unit_id), nullptr);
  EXPECT_TRUE(runtime_->load_form(kFindForm));  // and it loads once nothing refuses
}

TEST(FormRuntimeDeathTest, EventsOfUnknownFormsAndUnitsAreFatal) {
  EXPECT_EXIT(
      {
        runtime::testing_support::answer_boxes_on_stderr();
        FormRuntime::initialise().raise_event(0x52019999, 0, 0);
      },
      runtime::testing_support::exited_fatally(), testing::HasSubstr("\xCE\xB4\xD5\xD2\xB5\xBD"));  // 未找到
  EXPECT_EXIT(
      {
        runtime::testing_support::answer_boxes_on_stderr();
        FormRuntime::initialise().raise_event(kMainForm, 0x16019999, 0);
      },
      runtime::testing_support::exited_fatally(), testing::HasSubstr("\xD7\xE9\xBC\xFE"));  // 组件
}

}  // namespace
}  // namespace quillet::forms::win32

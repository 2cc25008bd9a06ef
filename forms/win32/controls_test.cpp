// The controls of the stored forms under Wine: every dialog's controls with their stored
// captions, places and colours; the property services; the methods; input events.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "forms/catalogue.h"
#include "forms/properties.h"
#include "forms/win32/form_runtime.h"
#include "forms/win32/forms_test_fixture.h"
#include "forms/win32/methods.h"
#include "forms/win32/property_service.h"
#include "runtime/test_support.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

using R = HandlerRole;
namespace type = text::type_code;

constexpr std::uint32_t kDialogs[] = {kAboutForm,      kFindForm,          kReplaceForm,         kNumberedTextForm,
                                      kRegexForm,      kTabReplaceForm,    kLineBreakReplaceForm, kLeadingSpacesForm,
                                      kAccountPasswordForm, kSplitTextForm, kDeleteSpacesForm};
constexpr COLORREF kBlue = 0x00FF8800, kYellow = 0x0000FFFF;

std::string window_text(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return runtime::win32::narrow(text);
}

// A control's rectangle in its form's client area.
RECT client_rect_of(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The caption a unit's property block stores, for the types that show one.
std::optional<std::string> stored_caption(const UnitRecord& unit) {
  const std::string& block = unit.control()->properties;
  switch (unit.type) {
    case type::kButton: return decode_properties<ButtonProperties>(block)->caption;
    case type::kCheckBox: return decode_properties<CheckBoxProperties>(block)->caption;
    case type::kRadioBox: return decode_properties<CheckBoxProperties>(block, 1)->caption;
    case type::kGroupBox: return decode_properties<GroupBoxProperties>(block)->caption;
    case type::kLabel: return decode_properties<LabelProperties>(block)->caption;
    default: return std::nullopt;
  }
}

class ControlsTest : public FormsTest {
 protected:
  void count(R role, std::int64_t answer = 1) {
    runtime_->register_handler(static_cast<std::uint32_t>(role), [this, role, answer](const EventNotice& notice) {
      ++calls_[role];
      notices_[role] = notice;
      return answer;
    });
  }
  std::map<R, int> calls_;
  std::map<R, EventNotice> notices_;
};

TEST_F(ControlsTest, EveryDialogShowsItsControlsWithTheStoredCaptionsAndPlaces) {
  for (std::uint32_t form_id : kDialogs) {
    ASSERT_TRUE(runtime_->load_form(form_id)) << std::hex << form_id;
    const FormRecord& form = *runtime_->form(form_id);
    int shown = 0;
    for (const UnitRecord& unit : form.units) {
      if (unit.control() == nullptr || &unit == &form.units[0]) continue;
      const HWND control = window({form_id, unit.id, unit.type});
      ASSERT_NE(control, nullptr) << unit.name;
      EXPECT_EQ(GetParent(control), runtime_->window_of(form_id));
      // Placed at the container's origin plus its own stored position.
      Rect expected = unit.control()->rect;
      for (const UnitRecord* parent = form.find_unit(unit.control()->parent); parent != nullptr;
           parent = form.find_unit(parent->control()->parent)) {
        expected.left += parent->control()->rect.left;
        expected.top += parent->control()->rect.top;
      }
      const RECT actual = client_rect_of(control);
      EXPECT_EQ(actual.left, expected.left) << unit.name;
      EXPECT_EQ(actual.top, expected.top) << unit.name;
      EXPECT_EQ(actual.right - actual.left, expected.width) << unit.name;
      EXPECT_EQ(actual.bottom - actual.top, expected.height) << unit.name;
      if (const std::optional<std::string> caption = stored_caption(unit)) {
        EXPECT_EQ(window_text(control), *caption) << unit.name;
      }
      EXPECT_EQ(IsWindowVisible(control) != FALSE, unit.control()->visible()) << unit.name;
      ++shown;
    }
    EXPECT_GE(shown, 2);
  }
}

TEST_F(ControlsTest, CheckBoxesRadioBoxesAndGroupBoxesAreYellowOnBlue) {
  ASSERT_TRUE(runtime_->load_form(kAccountPasswordForm));
  const HWND form = runtime_->window_of(kAccountPasswordForm);
  HDC dc = CreateCompatibleDC(nullptr);
  for (const char* name : {"选择框1", "单选框1", "分组框3"}) {
    SetTextColor(dc, 0);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(form, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window(unit(kAccountPasswordForm, name)))));
    ASSERT_NE(brush, nullptr) << name;
    LOGBRUSH colour{};
    GetObjectW(brush, sizeof colour, &colour);
    EXPECT_EQ(colour.lbColor, kBlue) << name;
    EXPECT_EQ(GetTextColor(dc), kYellow) << name;
  }
  DeleteDC(dc);
}

// Renders a window's client area into a bitmap through WM_PRINTCLIENT.
std::vector<COLORREF> render(HWND window, int width, int height) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST_F(ControlsTest, LabelsAreDrawnInYellowOnBlueEvenAboveAGroupBoxEdge) {
  ASSERT_TRUE(runtime_->load_form(kAccountPasswordForm));
  const HWND label = window(unit(kAccountPasswordForm, "标签1"));  // "账号", top -5 in 分组框1
  const HWND group = window(unit(kAccountPasswordForm, "分组框1"));
  EXPECT_TRUE(IsWindowVisible(label));
  EXPECT_EQ(client_rect_of(label).top, 3 - 5);
  // The group box lies below the label, so the label paints over its upper edge.
  bool group_below = false;
  for (HWND next = GetWindow(label, GW_HWNDNEXT); next != nullptr; next = GetWindow(next, GW_HWNDNEXT)) {
    group_below = group_below || next == group;
  }
  EXPECT_TRUE(group_below);

  const std::vector<COLORREF> pixels = render(label, 24, 24);
  EXPECT_EQ(pixels.back(), kBlue);
  EXPECT_THAT(pixels, testing::Contains(kYellow));

  ASSERT_TRUE(runtime_->load_form(kMainForm));
  const std::vector<COLORREF> picture = render(window(unit::main_window::kContactPicture), 21, 21);
  EXPECT_THAT(picture, testing::Contains(testing::Ne(picture.front())));  // the GIF drew something
}

TEST_F(ControlsTest, TextPropertiesComeBackAsIndependentCopies) {
  ASSERT_TRUE(runtime_->load_form(kNumberedTextForm));
  const UnitRef button = unit(kNumberedTextForm, "按钮1");
  const text::OwnedText first = call::read_text(button, 10);
  const text::OwnedText second = call::read_text(button, 10);
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first.get(), second.get());
  EXPECT_STREQ(first.get(), "生成");
  first.get()[0] = 'X';
  EXPECT_STREQ(call::read_text(button, 10).get(), "生成");

  call::write_text(button, 10, "停止");
  EXPECT_EQ(window_text(window(button)), "停止");
  EXPECT_STREQ(call::read_text(button, 10).get(), "停止");

  call::write_text(button, 4, "标记");
  EXPECT_STREQ(call::read_text(button, 4).get(), "标记");
  const UnitRef form{kNumberedTextForm, window_unit_of(kNumberedTextForm), type::kWindow};
  call::write_text(form, 8, "新标题");
  EXPECT_EQ(window_text(runtime_->window_of(kNumberedTextForm)), "新标题");
}

TEST_F(ControlsTest, CheckedStatesAndExclusiveRadioGroups) {
  ASSERT_TRUE(runtime_->load_form(kAccountPasswordForm));
  const UnitRef fixed = unit(kAccountPasswordForm, "单选框1"), range = unit(kAccountPasswordForm, "单选框2");
  const UnitRef password_range = unit(kAccountPasswordForm, "单选框3");
  const UnitRef check = unit(kAccountPasswordForm, "选择框2");
  EXPECT_FALSE(call::read_bool(fixed, 18));
  EXPECT_TRUE(call::read_bool(range, 18));
  EXPECT_TRUE(call::read_bool(password_range, 18));

  SendMessageW(window(fixed), BM_CLICK, 0, 0);
  EXPECT_TRUE(call::read_bool(fixed, 18));
  EXPECT_FALSE(call::read_bool(range, 18));
  EXPECT_TRUE(call::read_bool(password_range, 18));  // another group box, another group

  call::write_bool(range, 18, true);
  EXPECT_FALSE(call::read_bool(fixed, 18));
  EXPECT_TRUE(call::read_bool(range, 18));

  call::write_bool(check, 18, true);
  EXPECT_EQ(call::send_message(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(window(check), BM_CLICK, 0, 0);
  EXPECT_FALSE(call::read_bool(check, 18));
}

TEST_F(ControlsTest, CommonPropertiesMoveShowAndDisableWithTheirContainer) {
  ASSERT_TRUE(runtime_->load_form(kAccountPasswordForm));
  const UnitRef group = unit(kAccountPasswordForm, "分组框1");
  const UnitRef edit = unit(kAccountPasswordForm, "编辑框1");  // 100, 13 in 分组框1 at 6, 3
  EXPECT_EQ(call::read_int(edit, 0), 100);
  EXPECT_EQ(call::read_int(edit, 1), 13);
  EXPECT_EQ(call::read_int(edit, 2), 72);

  call::write_int(group, 0, 16);
  EXPECT_EQ(client_rect_of(window(edit)).left, 116);
  EXPECT_EQ(call::read_int(edit, 0), 100);

  call::write_bool(group, 5, false);
  EXPECT_FALSE(IsWindowVisible(window(group)));
  EXPECT_FALSE(IsWindowVisible(window(edit)));
  EXPECT_TRUE(call::read_bool(edit, 5));  // its own flag is unchanged
  call::write_bool(group, 5, true);
  EXPECT_TRUE(IsWindowVisible(window(edit)));

  call::write_bool(edit, 6, true);
  EXPECT_FALSE(IsWindowEnabled(window(edit)));
  EXPECT_TRUE(call::read_bool(edit, 6));
  call::write_bool(edit, 6, false);
  EXPECT_TRUE(IsWindowEnabled(window(edit)));
  call::write_int(group, 0, 6);  // the description stays loaded: put it back for later loads
}

TEST_F(ControlsTest, MenuItemsRebuildTheMenuOnlyWhenAValueChanges) {
  ASSERT_TRUE(runtime_->load_form(kMainForm));
  const HWND main = runtime_->window_of(kMainForm);
  const UnitRef separator = unit::main_window::kRecentSeparator, first = unit::main_window::kRecentItems[0];
  const HMENU before = GetMenu(main);
  const int file_items = GetMenuItemCount(GetSubMenu(before, 0));
  call::write_bool(separator, 3, false);  // already hidden
  call::write_text(first, 0, "1");        // already its caption
  EXPECT_EQ(GetMenu(main), before);

  call::write_text(first, 0, "&1. C:\\文档.txt");
  call::write_bool(separator, 3, true);
  call::write_bool(first, 3, true);
  const HMENU after = GetMenu(main);
  EXPECT_NE(after, before);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(after, 0)), file_items + 2);
  wchar_t caption[64] = {};
  GetMenuStringW(GetSubMenu(after, 0), 20008, caption, 64, MF_BYCOMMAND);
  EXPECT_EQ(runtime::win32::narrow(caption), "&1. C:\\文档.txt");
  EXPECT_TRUE(call::read_bool(first, 3));
  EXPECT_STREQ(call::read_text(first, 0).get(), "&1. C:\\文档.txt");

  call::write_bool(first, 3, false);  // back as stored, for later loads
  call::write_bool(separator, 3, false);
  call::write_text(first, 0, "1");
}

TEST_F(ControlsTest, MethodsOnWindowsAndControls) {
  ASSERT_TRUE(runtime_->load_form(kMainForm));
  const UnitRef main{kMainForm, window_unit_of(kMainForm), type::kWindow};
  const UnitRef find{kFindForm, window_unit_of(kFindForm), type::kWindow};
  RECT client{};
  GetClientRect(runtime_->window_of(kMainForm), &client);
  EXPECT_EQ(call::client_width(main), client.right);
  EXPECT_EQ(call::client_height(main), client.bottom);

  EXPECT_FALSE(call::load_form(find, UnitRef{kFindForm, window_unit_of(kFindForm), type::kWindow}));  // owner not open
  EXPECT_FALSE(runtime_->is_loaded(kFindForm));
  EXPECT_TRUE(call::load_form(find, main));
  EXPECT_EQ(GetWindow(runtime_->window_of(kFindForm), GW_OWNER), runtime_->window_of(kMainForm));

  const UnitRef edit = unit::main_window::kDocument;
  call::move(edit, 5, 5, client.right - 10, -1);
  EXPECT_EQ(call::read_int(edit, 0), 5);
  EXPECT_EQ(call::read_int(edit, 2), client.right - 10);
  EXPECT_EQ(call::read_int(edit, 3), 435);  // -1 keeps the height
  call::move(edit, {}, 9);
  EXPECT_EQ(call::read_int(edit, 0), 5);
  EXPECT_EQ(call::read_int(edit, 1), 9);

  // A posted close asks the close query; destroying at once does not.
  count(R::AskBeforeClosing, 1);
  const UnitRef check = unit(kFindForm, "选择框1");
  call::write_bool(check, 18, true);
  EXPECT_EQ(call::send_message(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  call::destroy_form(find);
  EXPECT_TRUE(runtime_->is_loaded(kFindForm));
  runtime_->process_pending_messages();
  EXPECT_FALSE(runtime_->is_loaded(kFindForm));
  call::destroy_form(main, true);
  EXPECT_FALSE(runtime_->is_loaded(kMainForm));
  EXPECT_EQ(calls_[R::AskBeforeClosing], 0);
}

TEST_F(ControlsTest, ButtonsRaiseClickedWithTheirSender) {
  UnitRef sender;
  runtime_->register_handler(static_cast<std::uint32_t>(R::SearchForward), [&sender](const EventNotice&) {
    sender = call::event_sender();
    return 0;
  });
  ASSERT_TRUE(runtime_->load_form(kFindForm));
  const UnitRef next = unit(kFindForm, "搜寻下一个按钮");
  SendMessageW(window(next), BM_CLICK, 0, 0);
  EXPECT_EQ(sender, next);
  EXPECT_EQ(sender.type, type::kButton);
}

TEST_F(ControlsTest, InputEventsCarryTheirArgumentsAndCanSwallowOrReplaceCharacters) {
  count(R::OpenContactPage);
  ASSERT_TRUE(runtime_->load_form(kMainForm));
  SendMessageW(window(unit::main_window::kContactPicture), WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  ASSERT_EQ(calls_[R::OpenContactPage], 1);
  EXPECT_EQ(notices_[R::OpenContactPage].arguments, (std::vector<std::int64_t>{3, 4, 0}));

  // A character handler on the find dialog's edit box: 'x' is swallowed, 'a' becomes 'b',
  // a double-byte character arrives as its code and goes in unchanged.
  constexpr std::uint32_t kCharacterHandler = 900;
  std::vector<std::int64_t> codes;
  runtime_->register_handler(kCharacterHandler, [&codes](const EventNotice& notice) -> std::int64_t {
    codes.push_back(notice.arguments.at(0));
    if (notice.arguments[0] == 'x') return 0;
    return notice.arguments[0] == 'a' ? 'b' : notice.arguments[0];
  });
  const UnitRef edit = unit(kFindForm, "编辑框1");
  ControlRecord& record = std::get<ControlRecord>(runtime_->mutable_form(kFindForm)->units[2].body);
  ASSERT_EQ(runtime_->mutable_form(kFindForm)->units[2].id, edit.unit_id);
  record.events.push_back({-11, kCharacterHandler});
  ASSERT_TRUE(runtime_->load_form(kFindForm));
  for (wchar_t character : {L'x', L'a', L'c', L'\u4E2D'}) SendMessageW(window(edit), WM_CHAR, character, 0);
  record.events.pop_back();
  runtime_->register_handler(kCharacterHandler, {});
  EXPECT_STREQ(call::read_text(edit, 8).get(), "bc中");
  EXPECT_EQ(codes, (std::vector<std::int64_t>{'x', 'a', 'c', 0xD6D0}));

  // Without a binding the character goes in as typed.
  SendMessageW(window(edit), WM_CHAR, L'x', 0);
  EXPECT_STREQ(call::read_text(edit, 8).get(), "bc中x");
}

TEST_F(ControlsTest, ControlsRaiseNoEventsBeforeTheirFormIsCreated) {
  std::vector<std::string> order;
  runtime_->register_handler(static_cast<std::uint32_t>(R::FindDialogCreated), [&order](const EventNotice&) {
    order.push_back("created");
    return 0;
  });
  constexpr std::uint32_t kFocusHandler = 901;
  runtime_->register_handler(kFocusHandler, [&order](const EventNotice&) {
    order.push_back("focus");
    return 1;
  });
  ControlRecord& record = std::get<ControlRecord>(runtime_->mutable_form(kFindForm)->units[2].body);  // 编辑框1
  record.events.push_back({-7, kFocusHandler});
  ASSERT_TRUE(runtime_->load_form(kFindForm));
  SetFocus(window(unit(kFindForm, "选择框1")));
  SetFocus(window(unit(kFindForm, "编辑框1")));
  record.events.pop_back();
  runtime_->register_handler(kFocusHandler, {});
  ASSERT_FALSE(order.empty());
  EXPECT_EQ(order.front(), "created");  // the focus set while the form was built raised nothing
  EXPECT_EQ(order.back(), "focus");
}

struct ModalCheck {
  FormRuntime* runtime;
  bool main_enabled_while_modal = true;
  int idle_calls = 0;
};

TEST_F(ControlsTest, AModalFormDisablesTheOthersUntilItCloses) {
  ModalCheck check{runtime_};
  runtime_->register_handler(static_cast<std::uint32_t>(R::NumberedTextCreated), [&check](const EventNotice&) {
    check.runtime->add_idle_callback(check.runtime->window_of(kNumberedTextForm), [](void* datum) {
      auto* state = static_cast<ModalCheck*>(datum);
      ++state->idle_calls;
      state->main_enabled_while_modal = IsWindowEnabled(state->runtime->window_of(kMainForm)) != FALSE;
      PostMessageW(state->runtime->window_of(kNumberedTextForm), WM_CLOSE, 0, 0);
    }, &check);
    return 0;
  });
  ASSERT_TRUE(runtime_->load_form(kMainForm));
  ASSERT_TRUE(runtime_->load_form(kNumberedTextForm, nullptr, true));  // returns once it has closed
  EXPECT_FALSE(runtime_->is_loaded(kNumberedTextForm));
  EXPECT_GE(check.idle_calls, 1);
  EXPECT_FALSE(check.main_enabled_while_modal);
  EXPECT_TRUE(IsWindowEnabled(runtime_->window_of(kMainForm)));
}

TEST_F(ControlsTest, DialogsTakeTabAndEnterLikeDialogBoxes) {
  count(R::SearchForward);
  ASSERT_TRUE(runtime_->load_form(kFindForm));
  const HWND edit = window(unit(kFindForm, "编辑框1"));
  SetForegroundWindow(runtime_->window_of(kFindForm));
  runtime_->process_pending_messages();
  EXPECT_EQ(GetFocus(), edit);  // the lowest focus order
  PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
  runtime_->process_pending_messages();
  EXPECT_EQ(calls_[R::SearchForward], 1);  // the default button
  PostMessageW(edit, WM_KEYDOWN, VK_TAB, 0);
  runtime_->process_pending_messages();
  EXPECT_EQ(GetFocus(), window(unit(kFindForm, "选择框1")));
}

TEST(ControlsDeathTest, PropertiesOfAFormThatIsNotLoadedAreFatal) {
  EXPECT_EXIT(
      {
        runtime::testing_support::answer_boxes_on_stderr();
        FormRuntime::initialise();
        read_property(kFindForm, unit::find_form::kSearchText.unit_id, 8);
      },
      runtime::testing_support::exited_fatally(), testing::HasSubstr("未载入欲访问窗口组件所在的窗口"));
  EXPECT_EXIT(
      {
        runtime::testing_support::answer_boxes_on_stderr();
        FormRuntime::initialise();
        call::event_sender();
      },
      runtime::testing_support::exited_fatally(), testing::HasSubstr("“取事件组件”命令只能在事件处理子程序中使用"));
  EXPECT_EXIT(
      {
        runtime::testing_support::answer_boxes_on_stderr();
        FormRuntime::initialise().raise_event(kMainForm, unit::main_window::kPrinter.unit_id, 0);  // the printer raises no events
      },
      runtime::testing_support::exited_fatally(), testing::HasSubstr("引发事件的窗口组件无效"));
}

}  // namespace
}  // namespace quillet::forms::win32

// The edit box under Wine: bytes through the content property, byte selections, input modes,
// re-creation in place, the content-changed event, appending.
#include "forms/win32/edit_box.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "forms/catalogue.h"
#include "forms/win32/form_runtime.h"
#include "forms/win32/forms_test_fixture.h"
#include "forms/win32/methods.h"
#include "forms/win32/property_service.h"

namespace quillet::forms::win32 {
namespace {

using R = HandlerRole;
namespace type = text::type_code;

constexpr UnitRef kDocument = unit::main_window::kDocument;

class EditBoxTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    ASSERT_TRUE(runtime_->load_form(kMainForm));
  }
  std::string content(const UnitRef& unit) const {
    const text::OwnedText text = call::read_text(unit, 8);
    return text ? std::string(text.get()) : std::string();
  }
  void type_characters(const UnitRef& unit, std::wstring_view characters) const {
    for (wchar_t character : characters) SendMessageW(window(unit), WM_CHAR, character, 0);
  }
};

TEST_F(EditBoxTest, ContentRoundTripsAnyBytesWithoutNul) {
  for (const std::string& bytes : {std::string("\x61\xB0\x0D\x0A\x62"), std::string("\x80"), std::string("\xFF\x41"),
                                  std::string("line\nbare\rfeeds\r\n\xD6\xD0\xCE\xC4"), std::string("\x81")}) {
    call::write_text(kDocument, 8, bytes.c_str());
    EXPECT_EQ(content(kDocument), bytes);
  }
  call::write_text(kDocument, 8, "");
  EXPECT_EQ(call::read_text(kDocument, 8), nullptr);  // the empty text
}

TEST_F(EditBoxTest, SelectionsCountBytes) {
  call::write_text(kDocument, 8, "ab中文cd");
  call::write_int(kDocument, 24, 2);
  call::write_int(kDocument, 25, 4);
  EXPECT_EQ(call::read_int(kDocument, 24), 2);
  EXPECT_EQ(call::read_int(kDocument, 25), 4);
  EXPECT_STREQ(call::read_text(kDocument, 26).get(), "中文");

  call::write_int(kDocument, 24, 3);  // inside 中: its start
  EXPECT_EQ(call::read_int(kDocument, 24), 2);
  EXPECT_EQ(call::read_int(kDocument, 25), 0);

  call::write_int(kDocument, 24, -1);
  EXPECT_EQ(call::read_int(kDocument, 24), 8);
  EXPECT_EQ(call::read_int(kDocument, 25), 0);
  call::write_int(kDocument, 25, -1);
  EXPECT_EQ(call::read_int(kDocument, 24), 0);
  EXPECT_EQ(call::read_int(kDocument, 25), 8);

  call::write_int(kDocument, 24, 4);
  call::write_int(kDocument, 25, 2);
  call::write_text(kDocument, 26, "、");
  EXPECT_EQ(content(kDocument), "ab中、cd");
  EXPECT_EQ(SendMessageW(window(kDocument), EM_CANUNDO, 0, 0), 0);  // not recorded for undo
}

TEST_F(EditBoxTest, ScrollBarsRecreateTheWindowKeepingTextSelectionFocusAndModifiedFlag) {
  const HWND before = window(kDocument);
  call::write_text(kDocument, 8, "第一行\r\n第二行");
  SendMessageW(before, EM_SETMODIFY, TRUE, 0);
  call::write_int(kDocument, 24, 6);
  call::write_int(kDocument, 25, 4);
  SetFocus(before);

  call::write_int(kDocument, 16, 2);  // word wrap
  const HWND after = window(kDocument);
  EXPECT_NE(after, before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(GetWindowLongPtrW(after, GWL_STYLE) & (WS_HSCROLL | ES_AUTOHSCROLL), 0);
  EXPECT_EQ(content(kDocument), "第一行\r\n第二行");
  EXPECT_EQ(call::read_int(kDocument, 24), 6);
  EXPECT_EQ(call::read_int(kDocument, 25), 4);
  EXPECT_NE(SendMessageW(after, EM_GETMODIFY, 0, 0), 0);
  EXPECT_EQ(GetFocus(), after);
  EXPECT_EQ(call::read_int(kDocument, 16), 2);

  call::write_int(kDocument, 16, 3);
  EXPECT_NE(GetWindowLongPtrW(window(kDocument), GWL_STYLE) & WS_HSCROLL, 0);
  EXPECT_EQ(content(kDocument), "第一行\r\n第二行");
  EXPECT_NE(SendMessageW(window(kDocument), EM_GETMODIFY, 0, 0), 0);

  const HWND same = window(kDocument);
  call::write_int(kDocument, 16, 3);  // unchanged: the window stays
  EXPECT_EQ(window(kDocument), same);
}

TEST_F(EditBoxTest, ContentChangedIsRaisedOncePerChange) {
  int changes = 0;
  runtime_->register_handler(static_cast<std::uint32_t>(R::FindTextChanged), [&changes](const EventNotice&) {
    ++changes;
    return 0;
  });
  ASSERT_TRUE(runtime_->load_form(kFindForm));
  EXPECT_EQ(changes, 0);  // filling the box while the form is built is not a change
  const UnitRef box = unit(kFindForm, "编辑框1");
  call::write_text(box, 8, "查找");
  EXPECT_EQ(changes, 1);
  type_characters(box, L"x");
  EXPECT_EQ(changes, 2);
  call::write_int(box, 25, -1);
  call::write_text(box, 26, "y");
  EXPECT_EQ(changes, 3);
}

// The window reports a written text only for single-line boxes; the runtime reports it for
// both, once.
TEST_F(EditBoxTest, WritingTheContentOfAMultiLineBoxIsAChangeToo) {
  int changes = 0;
  runtime_->register_handler(static_cast<std::uint32_t>(R::FindTextChanged), [&changes](const EventNotice&) {
    ++changes;
    return 0;
  });
  ASSERT_TRUE(runtime_->load_form(kFindForm));
  const UnitRef box = unit(kFindForm, "编辑框1");
  call::write_int(box, 15, 1);  // multi-line: the box's window is made again
  ASSERT_NE(GetWindowLongPtrW(window(box), GWL_STYLE) & ES_MULTILINE, 0);
  EXPECT_EQ(changes, 0);  // the same text in the new window is no change
  call::write_text(box, 8, "第一行\r\n第二行");
  EXPECT_EQ(changes, 1);
  call::write_text(box, 8, "");
  EXPECT_EQ(changes, 2);
  type_characters(box, L"x");
  EXPECT_EQ(changes, 3);
  call::append_text(box, "y");
  EXPECT_EQ(changes, 4);
  call::write_int(box, 15, 0);  // and back to one line
  call::write_text(box, 8, "z");
  EXPECT_EQ(changes, 5);
}

// A number box writes its text back in its own form when it loses the focus; that is a change,
// and its handler may close the form or make the box's window again, which the box survives.
TEST_F(EditBoxTest, NormalisingOnLeavingIsAChangeWhoseHandlerMayCloseTheForm) {
  ASSERT_TRUE(runtime_->load_form(kFindForm));
  const UnitRef box = unit(kFindForm, "编辑框1");
  call::write_int(box, 18, 5);  // a number
  call::write_text(box, 8, "007");
  bool remade = false;
  runtime_->register_handler(static_cast<std::uint32_t>(R::FindTextChanged), [&](const EventNotice&) {
    call::write_int(box, 16, call::read_int(box, 16) == 0 ? 1 : 0);  // scroll bars: a new window
    remade = true;
    return 0;
  });
  SetFocus(window(box));
  SetFocus(runtime_->window_of(kMainForm));
  EXPECT_TRUE(remade);
  EXPECT_EQ(content(box), "7");

  call::write_text(box, 8, "0042");
  runtime_->register_handler(static_cast<std::uint32_t>(R::FindTextChanged), [this](const EventNotice&) {
    runtime_->close_form(kFindForm, true);
    return 0;
  });
  SetFocus(window(box));
  SetFocus(runtime_->window_of(kMainForm));
  EXPECT_FALSE(runtime_->is_loaded(kFindForm));
}

TEST_F(EditBoxTest, WholeTextReplacementIsOneUndoStepAndLeavesTheCaretAtTheStart) {
  const HWND box = window(kDocument);
  call::write_text(kDocument, 8, "xyz\x80 \xB0\xA1\r\n");
  // An older deletion at the start of the text: it must not come back with the undo.
  SendMessageW(box, EM_SETSEL, 0, 1);
  SendMessageW(box, WM_CLEAR, 0, 0);
  const std::string before = content(kDocument);
  ASSERT_EQ(before, "yz\x80 \xB0\xA1\r\n");
  call::write_int(kDocument, 24, 3);

  call::replace_whole_text(kDocument, "new \xD6\xD0\r\nsecond line");
  EXPECT_EQ(content(kDocument), "new \xD6\xD0\r\nsecond line");
  EXPECT_EQ(call::read_int(kDocument, 24), 0);
  EXPECT_EQ(call::read_int(kDocument, 25), 0);
  EXPECT_EQ(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

  SendMessageW(box, EM_UNDO, 0, 0);
  EXPECT_EQ(content(kDocument), before);
  SendMessageW(box, EM_UNDO, 0, 0);  // the window's undo toggles: the replacement again
  EXPECT_EQ(content(kDocument), "new \xD6\xD0\r\nsecond line");

  call::write_text(kDocument, 8, "");
  call::replace_whole_text(kDocument, "into an empty box");
  SendMessageW(box, EM_UNDO, 0, 0);
  EXPECT_EQ(content(kDocument), "");
}

TEST_F(EditBoxTest, WholeTextReplacementThatKeepsTheBeginningIsStillOneUndoStep) {
  const HWND box = window(kDocument);
  const std::string original = "line one\r\n\xB0";  // a lone lead byte at the end
  const auto replaced_and_undone = [&](const std::string& after, bool caret_at_end) {
    call::write_text(kDocument, 8, original.c_str());
    call::replace_whole_text(kDocument, after.c_str(), caret_at_end);
    EXPECT_EQ(content(kDocument), after);
    EXPECT_EQ(call::read_int(kDocument, 24), caret_at_end ? static_cast<std::int32_t>(after.size()) : 0);
    SendMessageW(box, EM_UNDO, 0, 0);
    EXPECT_EQ(content(kDocument), original) << after;
  };
  replaced_and_undone(original + "\r\nadded", true);  // only added to
  replaced_and_undone("line one\r\n\xB0\xA1 more", true);  // the lead byte now begins a character
  replaced_and_undone("line two", false);
  replaced_and_undone("line", false);  // only shortened
  replaced_and_undone("", false);
}

TEST_F(EditBoxTest, TheWholeTextIsReadOnceUntilAMessageMayChangeIt) {
  const auto& edit_box = static_cast<const EditBox&>(*runtime_->control(kDocument.form_id, kDocument.unit_id));
  call::write_text(kDocument, 8, "abc\xD6\xD0" "abc");
  const std::size_t reads = edit_box.text_reads();
  // A search's steps: selection, document, new selection.
  call::read_int(kDocument, 24);
  call::read_int(kDocument, 25);
  EXPECT_EQ(content(kDocument), "abc\xD6\xD0" "abc");
  call::write_int(kDocument, 24, 5);
  call::write_int(kDocument, 25, 3);
  EXPECT_EQ(call::read_int(kDocument, 24), 5);
  EXPECT_EQ(edit_box.text_reads(), reads + 1);

  // Typing over the selection, undoing, pasting: each is seen by the next read.
  type_characters(kDocument, L"X");
  EXPECT_EQ(content(kDocument), "abc\xD6\xD0X");
  SendMessageW(window(kDocument), EM_UNDO, 0, 0);
  EXPECT_EQ(content(kDocument), "abc\xD6\xD0" "abc");
  call::write_int(kDocument, 24, 0);
  call::write_int(kDocument, 25, 3);
  SendMessageW(window(kDocument), WM_CUT, 0, 0);
  EXPECT_EQ(content(kDocument), "\xD6\xD0" "abc");
  SendMessageW(window(kDocument), WM_PASTE, 0, 0);
  EXPECT_EQ(content(kDocument), "abc\xD6\xD0" "abc");
  EXPECT_EQ(edit_box.text_reads(), reads + 5);
}

TEST_F(EditBoxTest, TextIsReadAfreshAfterAChangeEvenFromAHandlerThatRanDuringIt) {
  ASSERT_TRUE(runtime_->load_form(kFindForm));
  const UnitRef box = unit(kFindForm, "编辑框1");
  std::string seen;
  runtime_->register_handler(static_cast<std::uint32_t>(R::FindTextChanged), [&](const EventNotice&) {
    seen = content(box);
    return 0;
  });
  type_characters(box, L"ab");
  EXPECT_EQ(seen, "ab");
  EXPECT_EQ(content(box), "ab");
  call::write_text(box, 8, "\xD6\xD0");
  EXPECT_EQ(seen, "\xD6\xD0");
  EXPECT_EQ(content(box), "\xD6\xD0");
}

TEST_F(EditBoxTest, BoxesHaveADeviceContextOfTheirOwnAndAFontOfNamedQuality) {
  wchar_t name[32] = {};
  GetClassNameW(window(kDocument), name, 32);
  EXPECT_STREQ(name, L"_QF_Edit");
  EXPECT_NE(GetClassLongPtrW(window(kDocument), GCL_STYLE) & CS_OWNDC, 0u);
  EXPECT_EQ(GetClassLongPtrW(window(kDocument), GCL_STYLE) & CS_PARENTDC, 0u);
  // The stored font asks for the default quality; the box's font names the system's.
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window(kDocument), WM_GETFONT, 0, 0)), sizeof font, &font);
  BOOL smoothing = FALSE;
  SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0);
  EXPECT_NE(font.lfQuality, DEFAULT_QUALITY);
  EXPECT_EQ(font.lfQuality == NONANTIALIASED_QUALITY, !smoothing);
  EXPECT_EQ(font.lfHeight, -16);
}

TEST_F(EditBoxTest, IntegerTextTakesOnlyMinusAndDigits) {
  ASSERT_TRUE(runtime_->load_form(kNumberedTextForm));
  const UnitRef start = unit(kNumberedTextForm, "编辑框_起始号");
  type_characters(start, L"a1-b2c中");
  EXPECT_EQ(content(start), "1-2");
  SendMessageW(window(start), WM_CHAR, VK_BACK, 0);  // control characters pass
  EXPECT_EQ(content(start), "1-");
}

TEST_F(EditBoxTest, NumberBoxesNormaliseWhenTheyLoseTheFocus) {
  ASSERT_TRUE(runtime_->load_form(kNumberedTextForm));
  const UnitRef count = unit(kNumberedTextForm, "编辑框_行数");
  const UnitRef other = unit(kNumberedTextForm, "编辑框_文本左");
  call::write_int(count, 18, 5);  // byte
  EXPECT_EQ(call::read_int(count, 18), 5);
  for (const auto& [typed, shown] : {std::pair{"300", "255"}, std::pair{"0", ""}, std::pair{"17", "17"}}) {
    call::write_text(count, 8, typed);
    SetFocus(window(count));
    SetFocus(window(other));
    EXPECT_EQ(content(count), shown) << typed;
  }
  call::write_int(count, 18, 99);  // clamped
  EXPECT_EQ(call::read_int(count, 18), 11);
}

TEST_F(EditBoxTest, PasswordReadOnlyLimitsAndAppending) {
  ASSERT_TRUE(runtime_->load_form(kFindForm));
  const UnitRef box = unit(kFindForm, "编辑框1");
  call::write_int(box, 18, 2);
  EXPECT_EQ(SendMessageW(window(box), EM_GETPASSWORDCHAR, 0, 0), '*');
  call::write_int(box, 18, 1);
  EXPECT_NE(GetWindowLongPtrW(window(box), GWL_STYLE) & ES_READONLY, 0);
  EXPECT_EQ(SendMessageW(window(box), EM_GETPASSWORDCHAR, 0, 0), 0);

  // The document holds more than the edit control's default 30,000 characters.
  const std::string big(100000, 'a');
  call::write_text(kDocument, 8, big.c_str());
  EXPECT_EQ(content(kDocument).size(), big.size());
  call::write_int(kDocument, 14, 5);
  call::write_text(kDocument, 8, "");
  type_characters(kDocument, L"abcdefg");
  EXPECT_EQ(content(kDocument), "abcde");
  call::write_int(kDocument, 14, -3);
  EXPECT_EQ(call::read_int(kDocument, 14), 0);

  call::write_int(kDocument, 24, 0);
  call::append_text(kDocument, "甲", 12);
  EXPECT_EQ(content(kDocument), "abcde甲12");
  EXPECT_EQ(call::read_int(kDocument, 24), 9);  // the caret at the end
  EXPECT_NE(SendMessageW(window(kDocument), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, 0);  // Enter is the box's
}

TEST_F(EditBoxTest, SingleLineBoxesGrowToTheirFontAndCentreTheirLine) {
  ASSERT_TRUE(runtime_->load_form(kReplaceForm));
  const UnitRef box = unit(kReplaceForm, "编辑框1");
  FontRecord font{};
  font.size = 28;
  font.face = "宋体";
  call::write_font(box, 12, font);
  RECT rect{};
  GetWindowRect(window(box), &rect);
  EXPECT_GT(rect.bottom - rect.top, 28);
  RECT client{};
  GetClientRect(window(box), &client);
  EXPECT_LT(client.bottom, rect.bottom - rect.top);

  call::write_int(box, 21, 1);  // an adjuster
  HWND adjuster = FindWindowExW(runtime_->window_of(kReplaceForm), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(adjuster, nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(adjuster, UDM_GETBUDDY, 0, 0)), window(box));
  call::write_int(box, 22, 50);
  call::write_int(box, 23, 10);
  int low = 0, high = 0;
  SendMessageW(adjuster, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 10);
  EXPECT_EQ(high, 50);
}

}  // namespace
}  // namespace quillet::forms::win32

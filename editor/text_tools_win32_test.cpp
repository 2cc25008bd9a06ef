// The text tools under Wine, through the real main window: the find window and the Search
// menu, the conversion menu, and what every tool's result does to the document (one write,
// one step for Undo, the document left modified, nothing at all when nothing changed).
#include "editor/editor_test_fixture.h"
#include "forms/win32/edit_box.h"
#include "forms/win32/property_service.h"
#include "tools/conversion.h"
#include "tools/limits.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;

class TextToolsTest : public EditorTest {
 protected:
  std::pair<std::size_t, std::size_t> selection() const {
    const tools::ByteRange range = DocumentSelection();
    return {range.start, range.length};
  }
  std::string search_box() const {
    const text::OwnedText text = call::read_text(find_form::kSearchText, property::kContent);
    return text ? text.get() : "";
  }
  std::size_t document_reads() const {
    return static_cast<const forms::win32::EditBox*>(
               FormRuntime::instance().control(main_window::kDocument.form_id, main_window::kDocument.unit_id))
        ->text_reads();
  }
  // Opens the find window and types the text over what it shows.
  void find_window_with(const std::wstring& text) {
    choose("&F.查找");
    ASSERT_TRUE(FormRuntime::instance().is_loaded(forms::kFindForm));
    call::write_text(find_form::kSearchText, property::kContent, nullptr);
    type(text, find_form::kSearchText);
  }
  void expect_not_found(const std::string& text) {
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, "未找到指定文本“" + text + "”");
    EXPECT_EQ(boxes_[0].caption, "错误");
    EXPECT_EQ(boxes_[0].style & 0xFF, 0x10u);
    boxes_.clear();
  }
};

TEST_F(TextToolsTest, ForwardSearchWalksFromMatchToMatchAndStopsAtTheEnd) {
  WriteDocument("abcabc");
  find_window_with(L"abc");
  click(find_form::kSearchForward);
  EXPECT_EQ(selection(), std::make_pair(std::size_t{0}, std::size_t{3}));
  choose("&N.查找下一个");
  EXPECT_EQ(selection(), std::make_pair(std::size_t{3}, std::size_t{3}));
  EXPECT_TRUE(boxes_.empty());
  choose("&N.查找下一个");
  expect_not_found("abc");
  EXPECT_EQ(selection(), std::make_pair(std::size_t{3}, std::size_t{3}));  // unchanged, no wrap-around
  // A search changes neither the text nor its flag.
  EXPECT_EQ(document(), "abcabc");
  EXPECT_FALSE(IsModified());
}

TEST_F(TextToolsTest, BackwardSearchEndsAtTheSelectionStart) {
  WriteDocument("abcabc");
  SelectInDocument(3, 3);
  find_window_with(L"abc");
  click(find_form::kSearchBackward);
  EXPECT_EQ(selection(), std::make_pair(std::size_t{0}, std::size_t{3}));
  choose("&P.查找上一个");
  expect_not_found("abc");
  // From the very start there is nothing before the caret.
  SelectInDocument(0, 0);
  click(find_form::kSearchBackward);
  expect_not_found("abc");
}

TEST_F(TextToolsTest, TheCaseBoxDecidesWhetherCapitalsMatch) {
  WriteDocument("xx abc");
  find_window_with(L"ABC");
  click(find_form::kMatchCase);
  ASSERT_TRUE(call::read_bool(find_form::kMatchCase, property::kChecked));
  click(find_form::kSearchForward);
  expect_not_found("ABC");
  click(find_form::kMatchCase);
  click(find_form::kSearchForward);
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(selection(), std::make_pair(std::size_t{3}, std::size_t{3}));
  EXPECT_FALSE(State().searchMatchCase);
}

TEST_F(TextToolsTest, ATrailBytePlusTheNextByteIsNotFoundAcrossACharacter) {
  WriteDocument("\xB0" "AB \xD6\xD0" "AB");  // B0 41 is one character
  find_window_with(L"AB");
  click(find_form::kMatchCase);
  click(find_form::kSearchForward);
  EXPECT_EQ(selection(), std::make_pair(std::size_t{6}, std::size_t{2}));
  click(find_form::kSearchBackward);
  expect_not_found("AB");
  // Chinese search text: the match is selected by bytes.
  call::write_text(find_form::kSearchText, property::kContent, "\xD6\xD0");
  SelectInDocument(0, 0);
  click(find_form::kSearchForward);
  EXPECT_EQ(selection(), std::make_pair(std::size_t{4}, std::size_t{2}));
}

TEST_F(TextToolsTest, TheWindowRemembersTheLastSearchAndItsButtonsFollowTheText) {
  // The menu commands do nothing before the first search.
  WriteDocument("one two one");
  SelectInDocument(4, 0);
  choose("&N.查找下一个");
  choose("&P.查找上一个");
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(selection(), std::make_pair(std::size_t{4}, std::size_t{0}));

  choose("&F.查找");
  const HWND find = FormRuntime::instance().window_of(forms::kFindForm);
  EXPECT_EQ(GetWindow(find, GW_OWNER), main_window());
  EXPECT_EQ(search_box(), "");
  EXPECT_TRUE(disabled(find_form::kSearchForward));
  EXPECT_TRUE(disabled(find_form::kSearchBackward));
  type(L"o", find_form::kSearchText);
  EXPECT_FALSE(disabled(find_form::kSearchForward));
  EXPECT_FALSE(disabled(find_form::kSearchBackward));
  type(L"ne", find_form::kSearchText);
  click(find_form::kMatchCase);
  click(find_form::kSearchForward);
  EXPECT_EQ(selection(), std::make_pair(std::size_t{8}, std::size_t{3}));

  // Opening it again while it is open only brings it forward: the created event does not run.
  type(L"!", find_form::kSearchText);
  choose("&F.查找");
  EXPECT_EQ(FormRuntime::instance().window_of(forms::kFindForm), find);
  EXPECT_EQ(search_box(), "one!");

  // Closed and opened again: the last search text, all of it selected, and the case choice.
  FormRuntime::instance().close_form(forms::kFindForm, false);
  ASSERT_FALSE(FormRuntime::instance().is_loaded(forms::kFindForm));
  choose("&F.查找");
  EXPECT_EQ(search_box(), "one");
  EXPECT_EQ(call::read_int(find_form::kSearchText, property::kSelectionStart), 0);
  EXPECT_EQ(call::read_int(find_form::kSearchText, property::kSelectionLength), 3);
  EXPECT_TRUE(call::read_bool(find_form::kMatchCase, property::kChecked));
  EXPECT_FALSE(disabled(find_form::kSearchForward));

  // Clearing the box disables both buttons; one character enables them again.
  call::write_int(find_form::kSearchText, property::kSelectionLength, -1);
  SendMessageW(window_of(find_form::kSearchText), WM_CLEAR, 0, 0);
  EXPECT_TRUE(disabled(find_form::kSearchForward));
  EXPECT_TRUE(disabled(find_form::kSearchBackward));
  type(L"t", find_form::kSearchText);
  EXPECT_FALSE(disabled(find_form::kSearchForward));
  EXPECT_FALSE(disabled(find_form::kSearchBackward));
}

TEST_F(TextToolsTest, ASearchReadsTheDocumentOnce) {
  std::string text(200000, 'x');
  text += "needle";
  WriteDocument(text.c_str());
  find_window_with(L"needle");
  const std::size_t reads = document_reads();
  click(find_form::kSearchForward);
  EXPECT_EQ(selection(), std::make_pair(std::size_t{200000}, std::size_t{6}));
  EXPECT_EQ(document_reads(), reads + 1);
}

TEST_F(TextToolsTest, CaseConversionIsRefusedInFullWidthModeEvenAfterNew) {
  WriteDocument("Quillet 1.0\r\nabc ~");
  choose("到大写");
  EXPECT_EQ(document(), "QUILLET 1.0\r\nABC ~");
  choose("到小写");
  EXPECT_EQ(document(), "quillet 1.0\r\nabc ~");
  choose("到全角");
  EXPECT_EQ(State().fullWidthMode, 1);
  // Every printable character changed, the line break kept.
  EXPECT_EQ(document(), "\xA3\xF1\xA3\xF5\xA3\xE9\xA3\xEC\xA3\xEC\xA3\xE5\xA3\xF4\xA1\xA1\xA3\xB1\xA3\xAE\xA3\xB0\r\n"
                        "\xA3\xE1\xA3\xE2\xA3\xE3\xA1\xA1\xA1\xAB");
  const std::string full = document();

  answers_ = {runtime::kButtonNo};  // New asks first: the conversion left the text modified
  choose("&N.新建");
  ASSERT_EQ(boxes_.size(), 1u);
  boxes_.clear();
  WriteDocument("abc");
  choose("到大写");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "在全角模式下不能进行大小写转换！请转换到半角模式再进行大小写转换！");
  EXPECT_EQ(boxes_[0].caption, "信息：");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x10u);
  choose("到小写");
  EXPECT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(document(), "abc");

  WriteDocument(full.c_str());
  choose("到半角");
  EXPECT_EQ(State().fullWidthMode, 0);
  EXPECT_EQ(document(), "quillet 1.0\r\nabc ~");
  choose("到大写");
  EXPECT_EQ(document(), "QUILLET 1.0\r\nABC ~");
  EXPECT_EQ(boxes_.size(), 2u);
}

TEST_F(TextToolsTest, CaseConversionLeavesDoubleByteCharactersAlone) {
  // Full-width letters and a double-byte character whose trail byte is a letter.
  WriteDocument("\xA3\xE1\xA3\xC1 \x81" "a" "a");
  choose("到大写");
  EXPECT_EQ(document(), "\xA3\xE1\xA3\xC1 \x81" "a" "A");
  // Full width on an empty document changes nothing but still sets the mode.
  WriteDocument(nullptr);
  choose("到全角");
  EXPECT_EQ(document(), "");
  EXPECT_EQ(State().fullWidthMode, 1);
}

TEST_F(TextToolsTest, AToolLeavesTheDocumentModifiedAndOneUndoBringsBackTheExactBytes) {
  // Bytes that are not GBK, a lone lead byte at the end, and an earlier deletion at the start
  // that Undo must not bring back with the tool's edit.
  write_file("a.txt", "xstray \x80\xFF\x41 bytes\r\nline 2\n\xB0");
  open(file("a.txt"));
  ASSERT_FALSE(IsModified());
  SelectInDocument(0, 1);
  SendMessageW(document_box(), WM_CLEAR, 0, 0);
  const std::string before = document();
  ASSERT_EQ(before, "stray \x80\xFF\x41 bytes\r\nline 2\n\xB0");
  SetModified(false);  // as if just saved
  SelectInDocument(7, 3);

  choose("到大写");
  EXPECT_EQ(document(), "STRAY \x80\xFF\x41 BYTES\r\nLINE 2\n\xB0");
  EXPECT_TRUE(IsModified());
  EXPECT_EQ(selection(), std::make_pair(std::size_t{0}, std::size_t{0}));  // where a content write puts it

  choose("&U.撤消");
  EXPECT_EQ(document(), before);

  // Closing now asks: the conversion's result was never saved.
  choose("到全角");
  answers_ = {runtime::kButtonCancel};
  EXPECT_FALSE(close_window());
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "文件已经被修改，是否保存？");
}

TEST_F(TextToolsTest, AToolThatChangesNothingWritesNothing) {
  write_file("a.txt", "ABC\r\n");
  open(file("a.txt"));
  SelectInDocument(5, 0);
  type(L"DE");
  SelectInDocument(1, 2);
  choose("到大写");
  EXPECT_EQ(document(), "ABC\r\nDE");
  EXPECT_EQ(selection(), std::make_pair(std::size_t{1}, std::size_t{2}));
  // Undo still takes back the typing.
  choose("&U.撤消");
  EXPECT_EQ(document(), "ABC\r\n");

  // And the flag of an unmodified document stays clear.
  open(file("a.txt"));
  choose("到小写");
  EXPECT_EQ(document(), "abc\r\n");
  EXPECT_TRUE(IsModified());
  open(file("a.txt"));
  answers_.clear();
  boxes_.clear();
  choose("到半角");
  EXPECT_FALSE(IsModified());
  EXPECT_TRUE(close_window());
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(TextToolsTest, TheWaitCursorShowsUntilTheDocumentIsUpdated) {
  WriteDocument("abc");
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  const HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  HCURSOR while_computing = nullptr;
  ApplyToDocument([&](std::string_view document) {
    while_computing = GetCursor();
    return tools::upper_case(document);
  });
  EXPECT_EQ(while_computing, wait);
  EXPECT_EQ(document(), "ABC");
  EXPECT_NE(GetCursor(), wait);
  SetCursor(before);
}

// A result past the largest document is refused whichever tool made it: the document, its
// flag and its undo stay as they were.
TEST_F(TextToolsTest, AResultLargerThanTheLargestDocumentIsRefused) {
  type(L"typed");
  ApplyToDocument([](std::string_view) { return std::string(tools::kLargestDocument + 1, 'x'); });
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "处理后的文本过大（超过256MB），文档未作改动。");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x10u);
  EXPECT_EQ(document(), "typed");
  EXPECT_TRUE(IsModified());
  // The next tool goes through as usual.
  EXPECT_TRUE(TryApplyToDocument([](std::string_view) { return std::optional<std::string>("small"); }));
  EXPECT_EQ(document(), "small");
}

}  // namespace
}  // namespace quillet::editor

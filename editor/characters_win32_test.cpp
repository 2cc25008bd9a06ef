// Characters code page 936 cannot hold: kept out of every box as they are typed, composed or
// pasted, with the user told which; and, should one still get into a box, a save or a tool
// asks before it turns into "?". File names the code page cannot hold are refused with the
// reason.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editor/editor_test_fixture.h"

namespace quillet::editor {
namespace {

constexpr char kRefusal[] = "下列字符无法用 GBK 编码保存，没有输入：";

// Puts UTF-16 text on the clipboard, as another program would.
void put_on_clipboard(HWND owner, const std::wstring& text) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  CloseClipboard();
}

std::wstring window_text_of(HWND window) {
  std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

TEST_F(EditorTest, TypedCharactersTheCodePageCannotHoldAreKeptOut) {
  type(L"a\uD55Cb\u4E2D");  // a 한 b 中
  EXPECT_EQ(document(), "ab\xD6\xD0");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, std::string(kRefusal) + "U+D55C。");
  EXPECT_EQ(boxes_[0].caption, "提示");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x30u);

  // A character beyond the basic plane comes in two halves and is named once, whole.
  type(L"\U0001F600");
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].text, std::string(kRefusal) + "U+1F600。");
  // The units that stand for a file's stray bytes are no characters to type: B0 A1 would
  // otherwise reach the file and come back as 啊.
  type(L"\uF7B0\uF7A1");
  EXPECT_EQ(boxes_.size(), 4u);
  // As composed by an input method (WM_IME_CHAR).
  SendMessageW(document_box(), WM_IME_CHAR, 0xAE00, 0);
  EXPECT_EQ(boxes_.size(), 5u);
  EXPECT_EQ(document(), "ab\xD6\xD0");
  EXPECT_EQ(window_text_of(document_box()), L"ab\u4E2D");

  // Dialog boxes keep them out too.
  choose("&F.查找");
  type(L"x\uD55Cy", find_form::kSearchText);
  EXPECT_EQ(text_of(find_form::kSearchText), "xy");
  EXPECT_EQ(boxes_.size(), 6u);
}

TEST_F(EditorTest, APasteKeepsWhatTheCodePageHoldsAndNamesTheRest) {
  type(L"[]");
  SendMessageW(document_box(), EM_SETSEL, 1, 1);
  put_on_clipboard(main_window(), L"x\uD55Cy\U0001F600z\uF7B0\uD55C\u6587");
  choose("&P.粘贴");
  EXPECT_EQ(document(), "[xyz\xCE\xC4]");  // 文
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, std::string(kRefusal) + "U+D55C、U+1F600、U+F7B0。");
  undo_gives("[]");  // one step, as any paste

  // What the code page holds pastes as it is, without a word.
  put_on_clipboard(main_window(), L"\u4E2D\u6587");
  choose("&P.粘贴");
  EXPECT_EQ(document(), "[\xD6\xD0\xCE\xC4]");
  EXPECT_EQ(boxes_.size(), 1u);
}

// Should such a character get into the document some other way (another program writing into
// the window, say), saving and the tools ask before it becomes "?".
TEST_F(EditorTest, ASaveOrAToolThatWouldLoseACharacterAsksFirst) {
  write_file("kept.txt", "old");
  open(file("kept.txt"));
  SetWindowTextW(document_box(), L"a\uD55Cb");
  SetModified(true);
  const std::string question_start = "文档中有 GBK 无法表示的字符：U+D55C。";

  answers_ = {runtime::kButtonCancel};
  choose("&S.保存");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, question_start + "保存后，它们在文件中将变成“?”。\r\n\r\n仍然保存吗？");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x21u);
  EXPECT_EQ(read_file("kept.txt"), "old");
  EXPECT_TRUE(IsModified());
  EXPECT_EQ(window_text_of(document_box()), L"a\uD55Cb");

  answers_ = {runtime::kButtonCancel};
  choose("到大写");
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].text, question_start + "经过这个工具处理，它们将变成“?”。\r\n\r\n仍然继续吗？");
  EXPECT_EQ(window_text_of(document_box()), L"a\uD55Cb");

  answers_ = {runtime::kButtonOk};
  choose("到大写");
  EXPECT_EQ(document(), "A?B");

  SetWindowTextW(document_box(), L"c\uD55C");
  answers_ = {runtime::kButtonOk};
  choose("&S.保存");
  EXPECT_EQ(read_file("kept.txt"), "c?");
  EXPECT_FALSE(IsModified());
}

TEST_F(EditorTest, ADialogToolAsksWhenItsBoxWouldLoseACharacter) {
  type(L"text");
  choose("&F.查找");
  SetWindowTextW(window_of(find_form::kSearchText), L"\uD55C");
  answers_ = {runtime::kButtonCancel};
  click(find_form::kSearchForward);
  ASSERT_EQ(boxes_.size(), 1u);  // the question, and no search after it
  EXPECT_EQ(boxes_[0].text, "对话框的文本中有 GBK 无法表示的字符：U+D55C。它们将按“?”处理。\r\n\r\n仍然继续吗？");
  answers_ = {runtime::kButtonOk};
  click(find_form::kSearchForward);
  ASSERT_EQ(boxes_.size(), 3u);  // asked again, then the search for "?" found nothing
  EXPECT_EQ(boxes_[2].text, "未找到指定文本“?”");
}

TEST_F(EditorTest, AFileNameTheCodePageCannotHoldIsRefusedWithTheReason) {
  type(L"text");
  const std::string title_before = title();
  // The path goes into the dialog's UTF-16 box as it is.
  const std::wstring name = (folder_ / L"\uD55C\uAE00.txt").wstring();
  DialogAnswers answers([&name](HWND dialog) {
    SetDlgItemTextW(dialog, kFileNameBox, name.c_str());
    press(dialog, IDOK);
  });
  choose("&A.另存为");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "所选的文件名中有 GBK 无法表示的字符：U+D55C、U+AE00。请换一个文件名。");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x10u);
  EXPECT_FALSE(fs::exists(folder_ / L"\uD55C\uAE00.txt"));
  EXPECT_TRUE(IsModified());
  EXPECT_EQ(title(), title_before);
}

}  // namespace
}  // namespace quillet::editor

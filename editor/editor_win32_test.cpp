// The editor under Wine, driven through the real main window: closing and the question to
// save, files, the recent-file list, saving safely, word wrap, the Edit menu, the font and
// printing.
#include <gmock/gmock.h>

#include "editor/editor_test_fixture.h"
#include "editor/recent_files.h"
#include "forms/win32/postscript_printer.h"
#include "forms/win32/printer.h"

namespace quillet::editor {
namespace {

TEST_F(EditorTest, AnEmptyDocumentClosesWithoutAQuestion) {
  type(L"abc");
  choose("&A.全选");  // the user deletes everything: modified, but empty
  SendMessageW(document_box(), WM_CLEAR, 0, 0);
  EXPECT_EQ(document(), "");
  EXPECT_TRUE(IsModified());
  EXPECT_TRUE(close_window());
  EXPECT_TRUE(boxes_.empty());
  EXPECT_EQ(ended_, 0);  // the destroy event ended the program
}

TEST_F(EditorTest, ClosingRightAfterLoadingDoesNotAsk) {
  write_file("a.txt", "hello");
  open(file("a.txt"));
  EXPECT_EQ(document(), "hello");
  EXPECT_EQ(title(), "Quillet - " + file("a.txt"));
  EXPECT_TRUE(close_window());
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(EditorTest, CancelKeepsTheWindowAndYesOnAnUntitledDocumentAsksForAName) {
  type(L"unsaved");
  answers_ = {runtime::kButtonCancel};
  EXPECT_FALSE(close_window());
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "文件已经被修改，是否保存？");
  EXPECT_EQ(boxes_[0].caption, "询问");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x23u);
  EXPECT_EQ(document(), "unsaved");

  answers_ = {runtime::kButtonYes};
  {
    DialogAnswers cancel([](HWND dialog) { press(dialog, IDCANCEL); });
    EXPECT_FALSE(close_window());  // the save dialog was cancelled
  }
  EXPECT_EQ(document(), "unsaved");
  EXPECT_TRUE(IsModified());

  answers_ = {runtime::kButtonNo};
  EXPECT_TRUE(close_window());
}

// Logging off or shutting down asks as closing does: Cancel refuses the end of the session,
// Yes saves first, No lets the document go; the window closes once the session ends.
TEST_F(EditorTest, TheEndOfTheSessionAsksToSaveAndCancelRefusesIt) {
  const auto query = [this] { return SendMessageW(main_window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF); };
  type(L"unsaved");
  answers_ = {runtime::kButtonCancel};
  EXPECT_EQ(query(), FALSE);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "文件已经被修改，是否保存？");
  // Another program refused: the session goes on, and so does the editor.
  SendMessageW(main_window(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  ASSERT_TRUE(IsWindow(main_window()));
  EXPECT_EQ(document(), "unsaved");
  EXPECT_EQ(ended_, -1);

  // Yes with a file: saved before the session may end.
  write_file("session.txt", "old");
  open(file("session.txt"));
  type(L"new ");
  answers_ = {runtime::kButtonYes};
  EXPECT_EQ(query(), TRUE);
  EXPECT_EQ(read_file("session.txt"), "new old");
  EXPECT_FALSE(IsModified());

  // No: nothing is saved; the window closes and the program ends when the session does.
  type(L"lost ");
  answers_ = {runtime::kButtonNo};
  boxes_.clear();
  EXPECT_EQ(query(), TRUE);
  EXPECT_EQ(boxes_.size(), 1u);
  const HWND window = main_window();
  SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(boxes_.size(), 1u);  // no second question
  EXPECT_EQ(ended_, 0);
  EXPECT_EQ(read_file("session.txt"), "new old");
}

TEST_F(EditorTest, FilesLoadUpTo0x1AAndSaveBackByteForByte) {
  write_file("eof.txt", std::string("ab\x1A" "cd", 5));
  open(file("eof.txt"));
  EXPECT_EQ(document(), "ab");
  choose("&S.保存");
  EXPECT_EQ(read_file("eof.txt"), "ab");

  const std::string odd("line1\nline2\n\xB0\x0D\x0A\xFF\x41 \x80z");  // bare LF, stray bytes
  write_file("odd.txt", odd);
  open(file("odd.txt"));
  EXPECT_EQ(document(), odd);
  type(L"!");  // modified, then saved back
  choose("&S.保存");
  EXPECT_EQ(read_file("odd.txt"), "!" + odd);
  EXPECT_FALSE(IsModified());

  WriteDocument(nullptr);
  choose("&S.保存");
  EXPECT_TRUE(fs::exists(folder_ / "odd.txt"));
  EXPECT_EQ(fs::file_size(folder_ / "odd.txt"), 0u);  // an empty document: a zero-byte file
}

TEST_F(EditorTest, TheRecentListSkipsCaseVariantsAndDropsTheOldest) {
  for (const char* name : {"one.txt", "two.txt", "three.txt"}) write_file(name, name);
  open(file("one.txt"));
  std::string upper = file("one.txt");
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  open(upper);  // the same file in other letters: not added again
  open(file("two.txt"));
  open(file("three.txt"));
  EXPECT_EQ(State().recentFiles[0].get(), file("one.txt"));
  EXPECT_EQ(State().recentFiles[2].get(), file("three.txt"));

  type(L"x");
  {
    DialogAnswers answers(answer_with(file("four.txt")));
    choose("&A.另存为");
  }
  EXPECT_EQ(State().recentFiles[0].get(), file("two.txt"));
  EXPECT_EQ(State().recentFiles[1].get(), file("three.txt"));
  EXPECT_EQ(State().recentFiles[2].get(), file("four.txt"));
  EXPECT_EQ(caption_of(2), "&3. " + file("four.txt"));
  EXPECT_EQ(caption_of(0), "&1. " + file("two.txt"));

  // The list reaches the registry when the window goes, and comes back at the next start.
  restart();
  EXPECT_EQ(registry_value("1"), file("two.txt"));
  EXPECT_EQ(registry_value("3"), file("four.txt"));
  EXPECT_EQ(caption_of(1), "&2. " + file("three.txt"));
  HMENU file_menu = GetSubMenu(GetMenu(main_window()), 0);
  EXPECT_EQ(GetMenuState(file_menu, command("&3. "), MF_BYCOMMAND) & MF_GRAYED, 0u);

  // Choosing an entry opens its file; entry 2 raises entry 1's handler with itself as sender.
  choose("&2. ");
  EXPECT_EQ(document(), "three.txt");
  EXPECT_EQ(title(), "Quillet - " + file("three.txt"));
}

TEST_F(EditorTest, AMissingRecentFileShowsTheErrorAndKeepsTheEntry) {
  write_file("gone.txt", "x");
  open(file("gone.txt"));
  WriteDocument(nullptr);
  fs::remove(folder_ / "gone.txt");
  choose("&1. ");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "打开文件失败！");
  EXPECT_EQ(boxes_[0].caption, "错误");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x10u);
  EXPECT_EQ(title(), "Quillet");
  EXPECT_EQ(document(), "");
  EXPECT_EQ(State().recentFiles[0].get(), file("gone.txt"));
}

TEST_F(EditorTest, AFailedSaveKeepsTheFileTheNameAndTheModifiedFlag) {
  write_file("kept.txt", "original");
  open(file("kept.txt"));
  type(L"new ");
  // Another program holds the file without sharing: replacing it fails.
  HANDLE locked = CreateFileW((folder_ / "kept.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  choose("&S.保存");
  CloseHandle(locked);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "保存文件失败！");
  EXPECT_EQ(read_file("kept.txt"), "original");
  EXPECT_TRUE(IsModified());
  EXPECT_EQ(State().currentFileName.get(), file("kept.txt"));

  // Save as to a file that cannot be replaced: title, name and flag stay.
  write_file("other.txt", "other");
  locked = CreateFileW((folder_ / "other.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  {
    DialogAnswers answers(answer_with(file("other.txt")));
    choose("&A.另存为");
  }
  CloseHandle(locked);
  EXPECT_EQ(read_file("other.txt"), "other");
  EXPECT_EQ(boxes_.back().text, "保存文件失败！");
  EXPECT_EQ(title(), "Quillet - " + file("kept.txt"));
  EXPECT_EQ(State().currentFileName.get(), file("kept.txt"));
  EXPECT_TRUE(IsModified());

  // A save that fails while closing keeps the window and the text.
  answers_ = {runtime::kButtonYes};
  locked = CreateFileW((folder_ / "kept.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(close_window());
  CloseHandle(locked);
  EXPECT_EQ(document(), "new original");
}

TEST_F(EditorTest, WordWrapKeepsTextAndTheModifiedFlag) {
  type(L"第一行很长很长");
  EXPECT_TRUE(IsModified());
  choose("&W.自动换行");
  EXPECT_EQ(forms::win32::call::read_int(main_window::kDocument, property::kScrollBars), kWrapLines);
  EXPECT_EQ(document(), "第一行很长很长");
  EXPECT_TRUE(IsModified());
  choose("&W.自动换行");
  EXPECT_EQ(forms::win32::call::read_int(main_window::kDocument, property::kScrollBars), kNoWrap);
  EXPECT_TRUE(IsModified());
}

TEST_F(EditorTest, NewAndTheEditMenu) {
  type(L"abc");
  choose("&A.全选");
  choose("&X.剪切");
  EXPECT_EQ(document(), "");
  choose("&P.粘贴");
  choose("&P.粘贴");
  EXPECT_EQ(document(), "abcabc");
  choose("&U.撤消");
  EXPECT_EQ(document(), "abc");
  answers_ = {runtime::kButtonNo};
  choose("&N.新建");
  EXPECT_EQ(document(), "");
  EXPECT_EQ(title(), "Quillet");
  EXPECT_FALSE(IsModified());
}

TEST_F(EditorTest, TheFontDialogSetsFontAndColourAndCancelChangesNothing) {
  const auto text_colour = [] { return forms::win32::call::read_int(main_window::kDocument, property::kTextColour); };
  const std::int32_t before = text_colour();
  {
    DialogAnswers cancel([](HWND dialog) { press(dialog, IDCANCEL); });
    choose("&F.字体");
  }
  EXPECT_EQ(text_colour(), before);
  forms::win32::call::write_int(main_window::kCommonDialog, property::kChosenColour, 0x0000FF);
  const std::string face = forms::win32::font_installed(L"文泉驿微米黑") ? "文泉驿微米黑" : "Tahoma";
  forms::win32::call::write_text(main_window::kCommonDialog, property::kFaceName, face.c_str());
  forms::win32::call::write_int(main_window::kCommonDialog, property::kPointSize, 20);
  DialogAnswers confirm([](HWND dialog) { press(dialog, IDOK); });
  choose("&F.字体");
  EXPECT_EQ(text_colour(), 0x0000FF);
  const text::ValueRecord font = forms::win32::read_property(main_window::kDocument.form_id, main_window::kDocument.unit_id, property::kFont);
  auto* record = static_cast<forms::win32::FontRecord*>(text::pointer_value(font));
  EXPECT_EQ(record->size, 20);
  EXPECT_EQ(std::string(record->face), face);
  forms::win32::release_font_record(record);
}

TEST_F(EditorTest, PrintSendsTheDocumentToThePrinterChosenInTheDialog) {
  QUILLET_SKIP_UNLESS_WINE();
  ASSERT_TRUE(forms::win32::make_postscript_printer());
  const fs::path output = folder_ / "printed.ps";
  forms::win32::set_print_output_file(runtime::win32::narrow(output.wstring()));
  std::wstring lines;
  for (int i = 0; i < 150; ++i) lines += L"第" + std::to_wstring(i) + L"行\r";  // more than a page
  type(lines);
  const std::string before = document();
  {
    DialogAnswers cancel([](HWND dialog) { press(dialog, IDCANCEL); });
    choose("&P.打印");
  }
  EXPECT_FALSE(fs::exists(output));
  {
    DialogAnswers confirm([](HWND dialog) { press(dialog, IDOK); });
    choose("&P.打印");
  }
  forms::win32::set_print_output_file("");
  EXPECT_GE(forms::win32::postscript_pages(output), 2);
  EXPECT_EQ(document(), before);  // printing leaves the document alone
  EXPECT_TRUE(IsModified());
}

}  // namespace
}  // namespace quillet::editor

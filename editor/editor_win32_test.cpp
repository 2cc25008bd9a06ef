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
  answers_ = {runtime::kButtonOk};  // yes, cut the file short
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

// A text ends at its first 0x00 or 0x1A. Opening such a file says how much was read; saving
// over it asks before the unread rest is lost, and Cancel keeps the file and the changes.
TEST_F(EditorTest, AFileReadShortIsReportedAndSavingOverItAsksFirst) {
  const std::string bytes("first part\x1Athe rest\0more", 24);
  write_file("short.txt", bytes);
  open(file("short.txt"));
  EXPECT_EQ(document(), "first part");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "文件“" + file("short.txt") +
                                "”共 24 个字节，其中有文本结束符（0x00 或 0x1A），只读入了它之前的 10 个字节。"
                                "保存回这个文件之前会先询问。");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x40u);
  EXPECT_FALSE(IsModified());

  type(L"! ");
  answers_ = {runtime::kButtonCancel};
  choose("&S.保存");
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].text, "文件“" + file("short.txt") +
                                "”共 24 个字节，打开时只读入了前 10 个字节。保存将用当前文档替换整个文件，"
                                "之后的内容将会丢失。\r\n\r\n确实要保存吗？");
  EXPECT_EQ(boxes_[1].style & 0xFF, 0x21u);
  EXPECT_EQ(read_file("short.txt"), bytes);  // intact
  EXPECT_TRUE(IsModified());
  // Closing: Yes to saving, then Cancel to cutting the file: the window stays.
  answers_ = {runtime::kButtonYes, runtime::kButtonCancel};
  EXPECT_FALSE(close_window());
  EXPECT_EQ(read_file("short.txt"), bytes);

  // Save as to another file asks nothing; saving over the short file, confirmed, replaces it
  // and asks no more.
  boxes_.clear();
  SaveDocument(file("copy.txt").c_str());
  EXPECT_TRUE(boxes_.empty());
  answers_ = {runtime::kButtonOk};
  SaveDocument(file("short.txt").c_str());
  EXPECT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(read_file("short.txt"), "! first part");
  type(L"x");
  choose("&S.保存");
  EXPECT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(read_file("short.txt"), document());
  EXPECT_EQ(document().size(), 13u);

  // A file read to its end is no short read.
  write_file("whole.txt", "whole");
  open(file("whole.txt"));
  EXPECT_EQ(boxes_.size(), 1u);
}

// A file larger than the largest document is refused with its size and the limit, and the
// document, its file name and its flag stay as they were.
TEST_F(EditorTest, AFileTooLargeToEditIsRefusedAndTheDocumentStays) {
  const fs::path huge = folder_ / "huge.txt";
  {
    HANDLE file = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER length{};
    length.QuadPart = (std::int64_t{1} << 28) + 1;  // one byte past the limit; no data written
    ASSERT_TRUE(SetFilePointerEx(file, length, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
  }
  write_file("kept.txt", "kept");
  open(file("kept.txt"));
  type(L"typed ");
  const std::string title_before = title();
  answers_ = {runtime::kButtonNo};  // do not save the typing first
  open(file("huge.txt"));
  const auto refusal = std::find_if(boxes_.begin(), boxes_.end(), [](const Box& box) { return (box.style & 0xFF) == 0x10; });
  ASSERT_NE(refusal, boxes_.end());
  EXPECT_EQ(refusal->text, "文件“" + file("huge.txt") + "”有 268435457 个字节，超过了本程序能编辑的最大文档 268435456 个字节（256 MB），没有打开。");
  EXPECT_EQ(document(), "typed kept");
  EXPECT_EQ(title(), title_before);
  EXPECT_TRUE(IsModified());
  std::error_code ignored;
  fs::remove(huge, ignored);
}

// The folders are made and removed here: the fixture's clean-up cannot reach that deep.
class LongPathTest : public EditorTest {
 protected:
  void TearDown() override {
    DeleteFileW((L"\\\\?\\" + runtime::win32::widen(path_)).c_str());
    for (auto folder = folders_.rbegin(); folder != folders_.rend(); ++folder) RemoveDirectoryW(folder->c_str());
    EditorTest::TearDown();
  }
  std::vector<std::wstring> folders_;
  std::string path_;
};

TEST_F(LongPathTest, DocumentsWithPathsLongerThanMaxPathSaveAndOpen) {
  std::wstring folder = L"\\\\?\\" + folder_.wstring();
  std::string path = file("");
  for (int level = 0; level < 5; ++level) {
    const std::string part = "\xC9\xEE" + std::string(60, 'f') + std::to_string(level);  // 深fff…
    folder += L"\\" + runtime::win32::widen(part);
    path += (level == 0 ? "" : "\\") + part;
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    folders_.push_back(folder);
  }
  path += "\\\xCE\xC4.txt";  // 文.txt
  path_ = path;
  ASSERT_GT(runtime::win32::widen(path).size(), static_cast<std::size_t>(MAX_PATH));
  type(L"long path");
  ASSERT_EQ(SaveDocument(path.c_str()), SaveOutcome::Saved);
  EXPECT_EQ(title(), "Quillet - " + path);
  WriteDocument("other");
  ASSERT_TRUE(LoadDocument(path.c_str()));
  EXPECT_EQ(document(), "long path");
  EXPECT_TRUE(boxes_.empty());
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
  // Why follows: the system's words for a file another program holds.
  EXPECT_THAT(boxes_[0].text, testing::StartsWith("保存文件失败！\r\n\r\n无法访问这个文件："));
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
  EXPECT_THAT(boxes_.back().text, testing::StartsWith("保存文件失败！\r\n\r\n"));
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

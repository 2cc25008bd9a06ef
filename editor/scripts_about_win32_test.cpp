// The script menu, the about window and the contact picture, through the real main window and
// the real shell: the batch files the tests run write marker files that the tests wait for.
#include <windows.h>

#include <gtest/gtest.h>

#include "editor/editor_test_fixture.h"
#include "editor/script_menu.h"
#include "forms/win32/property_service.h"

namespace quillet::editor {
namespace {

// Handles what is posted to this thread's windows.
void pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Waits for a file another process writes, up to the limit; true once it is there and done.
bool appears(const fs::path& file, ULONGLONG limit_ms = 30000) {
  const ULONGLONG end = GetTickCount64() + limit_ms;
  while (GetTickCount64() < end) {
    pump();
    std::error_code error;
    if (fs::exists(file, error) && fs::file_size(file, error) > 0) return true;
    Sleep(50);
  }
  return false;
}

std::string read_whole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class ScriptTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    script_ = fs::path(runtime::win32::widen(ScriptPath(ScriptType::Batch)));
    fs::remove(script_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove(script_, ignored);
    EditorTest::TearDown();
  }
  // A batch file that writes "done" to the marker file in the test folder.
  std::string batch_writing(const char* marker) const {
    return "@echo off\r\nrem 中文注释：写一个标记文件\r\necho done> \"" + file(marker) + "\"\r\n";
  }
  // The document as the user would have it: typed, so modified, in a saved file's window.
  void give_document(const std::string& text) {
    WriteDocument(text.c_str());
    SetModified(true);
  }
  fs::path script_;
};

TEST_F(ScriptTest, RunBatWritesTheDocumentsExactBytesAndTheShellRunsThem) {
  const std::string script = batch_writing("marker.txt");
  give_document(script);
  const std::string title_before = title();
  choose("运行BAT");
  EXPECT_EQ(read_whole(script_), script);  // no terminator, byte-order mark or line-end change
  EXPECT_TRUE(appears(folder_ / "marker.txt"));
  EXPECT_TRUE(boxes_.empty());
  // The document, its title and its flag are as they were.
  EXPECT_EQ(document(), script);
  EXPECT_EQ(title(), title_before);
  EXPECT_TRUE(IsModified());

  // A second run replaces the file: a shorter script leaves nothing of the first behind.
  const std::string shorter = "@echo off\r\necho second> \"" + file("second.txt") + "\"\r\n";
  give_document(shorter);
  choose("运行BAT");
  EXPECT_EQ(read_whole(script_), shorter);
  EXPECT_TRUE(appears(folder_ / "second.txt"));
}

TEST_F(ScriptTest, RunBatOnAnEmptyDocumentLeavesAnEmptyScriptFile) {
  std::ofstream(script_, std::ios::binary) << "@echo off\r\nrem an earlier script\r\n";
  choose("运行BAT");
  ASSERT_TRUE(fs::exists(script_));
  EXPECT_EQ(fs::file_size(script_), 0u);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(ScriptTest, AScriptFileThatCannotBeWrittenRunsNothingAndSaysSo) {
  // An earlier script that would leave a marker is still there, held open so it cannot be
  // replaced.
  std::ofstream(script_, std::ios::binary) << batch_writing("stale.txt");
  HANDLE held = CreateFileW(script_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  give_document(batch_writing("fresh.txt"));
  choose("运行BAT");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "无法写入脚本文件“" + ScriptPath(ScriptType::Batch) + "”，脚本没有运行。");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x10u);
  EXPECT_EQ(boxes_[0].caption, "错误");
  CloseHandle(held);
  // Had either script been started it would have written its marker by now.
  EXPECT_FALSE(appears(folder_ / "stale.txt", 3000));
  EXPECT_FALSE(fs::exists(folder_ / "fresh.txt"));
  EXPECT_TRUE(IsModified());

  // Once the file is free the same command runs the document.
  choose("运行BAT");
  EXPECT_TRUE(appears(folder_ / "fresh.txt"));
}

TEST_F(ScriptTest, TheScriptFilesLieInTheTemporaryFolder) {
  wchar_t temporary[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temporary);
  const std::string folder = runtime::win32::narrow(temporary);
  ASSERT_EQ(folder.back(), '\\');
  EXPECT_EQ(ScriptPath(ScriptType::Batch), folder + "\\ls.bat");
  EXPECT_EQ(ScriptPath(ScriptType::Vbs), folder + "\\ls.vbs");
}

TEST_F(ScriptTest, RunVbsWritesTheVbsFile) {
  const fs::path vbs(runtime::win32::widen(ScriptPath(ScriptType::Vbs)));
  fs::remove(vbs);
  // A script that ends at once, whatever runs it.
  const std::string script = "' 中文注释\r\nDim x\r\nx = 1\r\n";
  give_document(script);
  choose("运行VBS");
  EXPECT_EQ(read_whole(vbs), script);
  EXPECT_TRUE(boxes_.empty());
  std::error_code ignored;
  fs::remove(vbs, ignored);
}

TEST_F(EditorTest, TheContactPictureOpensTheContactPageWhenThereIsOne) {
  const HWND picture = window_of(main_window::kContactPicture);
  ASSERT_NE(picture, nullptr);
  // No address: releasing the button opens nothing and says nothing.
  Settings().contact_page.clear();
  SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  EXPECT_TRUE(boxes_.empty());
  // An address (here a batch file standing in for a web page) is handed to the shell.
  write_file("contact.bat", "@echo off\r\necho opened> \"" + file("contact.txt") + "\"\r\n");
  Settings().contact_page = file("contact.bat");
  SendMessageW(picture, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  Settings().contact_page.clear();
  EXPECT_TRUE(appears(folder_ / "contact.txt"));
}

TEST_F(EditorTest, TheAboutWindowOpensOnceComesToTheFrontAndClosesWithItsButton) {
  const auto about = [] { return FormRuntime::instance().window_of(forms::kAboutForm); };
  EXPECT_EQ(about(), nullptr);
  choose("&A.关于...");
  const HWND first = about();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(IsWindowVisible(first));
  EXPECT_EQ(GetWindow(first, GW_OWNER), nullptr);  // modeless and without an owner
  EXPECT_TRUE(IsWindowEnabled(main_window()));
  EXPECT_NE(text_of(about_form::kMessage, property::kLabelCaption).find("定制"), std::string::npos);
  EXPECT_EQ(text_of(about_form::kOkButton, property::kButtonCaption), "确定(&C)");

  // Chosen again while open: the same window, in front.
  SetForegroundWindow(main_window());
  pump();
  choose("&A.关于...");
  pump();
  EXPECT_EQ(about(), first);
  EXPECT_EQ(GetForegroundWindow(), first);

  click(about_form::kOkButton);
  pump();
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(about(), nullptr);
  // And it opens again afterwards.
  choose("&A.关于...");
  EXPECT_NE(about(), nullptr);
}

}  // namespace
}  // namespace quillet::editor

// Paths that used to lose the user's text: a tool asked for a result past every limit, numbers
// past the integers, and an exception that would have ended the program.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "editor/editor_test_fixture.h"
#include "forms/catalogue.h"
#include "text/safe_replace.h"
#include "tools/paragraphs.h"

namespace quillet::editor {
namespace {

class NothingLostTest : public EditorTest {
 protected:
  static std::string lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "\xB5\xDA " + std::to_string(i) + " \xD0\xD0 text of the line\r\n";
    return text;
  }
};

// A hundred million spaces before each of 200 paragraphs would be 20 GB: refused with the
// message every tool gives, and the typed text is still there, still unsaved.
TEST_F(NothingLostTest, AHugeIndentationIsRefusedAndTheTextStays) {
  const std::string text = lines(200);
  WriteDocument(text.c_str());
  type(L"x");
  const std::string before = document();
  choose("段前增减");
  fill(leading_spaces_form::kSpaceCount, "100000000");
  click(leading_spaces_form::kRunButton);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "处理后的文本过大（超过256MB），文档未作改动。");
  EXPECT_EQ(document(), before);
  EXPECT_TRUE(IsModified());
  // A count that fits still works.
  fill(leading_spaces_form::kSpaceCount, "2");
  click(leading_spaces_form::kRunButton);
  EXPECT_EQ(document(), *tools::indent_paragraphs(before, 2));
}

// The range dialog reads numbers past the integers as the nearest ones: a length of
// -99999999999 deletes nothing (it emptied the document), and 99999999999 deletes to the end.
TEST_F(NothingLostTest, ExtremeRangeNumbersBehaveAsTheNearestOnes) {
  WriteDocument("abcdef");
  choose("保留指定位置");
  fill(regex_form::kPattern, "1");
  fill(regex_form::kReplacement, "-99999999999");
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), "abcdef");
  fill(regex_form::kPattern, "3");
  fill(regex_form::kReplacement, "99999999999");
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), "ab");
  EXPECT_TRUE(boxes_.empty());
}

// An exception out of a handler is caught where events are dispatched: one message says what
// happened, the document stays, and the next command runs as usual.
TEST_F(NothingLostTest, AnExceptionInAHandlerIsReportedAndTheEditorGoesOn) {
  WriteDocument("keep me");
  const auto role = static_cast<std::uint32_t>(forms::HandlerRole::ToUpperCase);
  FormRuntime::instance().register_handler(role, [](const forms::win32::EventNotice&) -> std::int64_t {
    const std::string partial = "KEEP";  // as a tool would have begun its result
    throw std::bad_alloc();
  });
  choose("到大写");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "内存不足，这项操作没有完成。文档仍是操作之前的内容，可以继续编辑和保存。");
  EXPECT_EQ(boxes_[0].caption, "错误");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x10u);
  EXPECT_EQ(document(), "keep me");
  EXPECT_FALSE(FormRuntime::instance().in_event_handler());
  EXPECT_EQ(ended_, -1);  // the program did not end

  FormRuntime::instance().register_handler(role, [](const forms::win32::EventNotice&) -> std::int64_t {
    throw std::length_error("basic_string::_M_create");
  });
  choose("到大写");
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].text,
            "程序内部出错（basic_string::_M_create），这项操作没有完成。文档仍是操作之前的内容，可以继续编辑和保存。");

  RegisterHandlers();  // the real one again
  choose("到大写");
  EXPECT_EQ(document(), "KEEP ME");
  EXPECT_EQ(boxes_.size(), 2u);
}

// The question before cutting a short-read file asks whatever name the save is given: a path
// through ".." or with other letter case is still that file. (Names were compared as text, so
// "Save as" with another spelling cut the file without a word.)
TEST_F(NothingLostTest, SavingOverAShortReadFileAsksUnderAnyOfItsNames) {
  const std::string bytes("kept\x1Aunread", 11);
  write_file("short.txt", bytes);
  open(file("short.txt"));
  ASSERT_EQ(boxes_.size(), 1u);
  const std::string folder = file("");
  const std::string through_parent = folder + "..\\" + folder_.filename().string() + "\\SHORT.TXT";
  answers_ = {runtime::kButtonCancel};
  EXPECT_EQ(SaveDocument(through_parent.c_str()), SaveOutcome::Cancelled);
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_NE(boxes_[1].text.find("确实要保存吗？"), std::string::npos);
  EXPECT_EQ(read_file("short.txt"), bytes);
}

// A save that fails says why under its old words, and a save whose new text could not take the
// file's name says where the text is.
TEST_F(NothingLostTest, AFailedSaveSaysWhyAndWhereTheTextIs) {
  write_file("a.txt", "old");
  open(file("a.txt"));
  type(L"new ");
  SetFileAttributesW((folder_ / "a.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  choose("&S.保存");
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "保存文件失败！\r\n\r\n文件是只读的。");
  EXPECT_TRUE(IsModified());
  SetFileAttributesW((folder_ / "a.txt").c_str(), FILE_ATTRIBUTE_NORMAL);

  const text::ReplacementCalls system = text::set_replacement_calls(
      {[](const std::wstring& replaced, const std::wstring&) -> unsigned long {
         DeleteFileW(replaced.c_str());
         return ERROR_UNABLE_TO_MOVE_REPLACEMENT;
       },
       [](const std::wstring&, const std::wstring&) -> unsigned long { return ERROR_ACCESS_DENIED; }});
  choose("&S.保存");
  text::set_replacement_calls(system);
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].text.rfind("保存文件失败！\r\n\r\n原文件已被移走", 0), 0u) << boxes_[1].text;
  const std::size_t open_quote = boxes_[1].text.find("\xA1\xB0"), close_quote = boxes_[1].text.find("\xA1\xB1");
  ASSERT_NE(open_quote, std::string::npos);
  const std::string kept = boxes_[1].text.substr(open_quote + 2, close_quote - open_quote - 2);
  std::ifstream in(fs::path(runtime::win32::widen(kept)), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new old");
  EXPECT_TRUE(IsModified());
}

}  // namespace
}  // namespace quillet::editor

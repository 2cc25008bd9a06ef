// The generators and the insertion tools under Wine, through the real dialogs and menus: the
// numbered-text dialog in its three uses (and the use an open dialog follows), the account
// dialog's boxes and output, the time added at the end, a count too large refused, and one
// Undo after each tool.
#include "editor/editor_test_fixture.h"
#include "editor/numbered_text_dialog.h"
#include "forms/win32/property_service.h"
#include "text/conversion.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;
const std::string kSeparator = "\xA1\xAA\xA1\xAA\xA1\xAA\xA1\xAA";  // ————

using GeneratorsTest = EditorTest;

TEST_F(GeneratorsTest, NumberedTextAndTheUsesAnOpenDialogFollows) {
  choose("带序号文本");
  const HWND dialog = FormRuntime::instance().window_of(forms::kNumberedTextForm);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  EXPECT_EQ(text_of(numbered_text_form::kWindow, property::kTitle), "生成带序号文本");
  EXPECT_EQ(text_of(numbered_text_form::kRunButton, property::kButtonCaption), "生成");
  EXPECT_TRUE(visible(numbered_text_form::kLineCount));
  EXPECT_TRUE(visible(numbered_text_form::kLineCountLabel));

  WriteDocument("old");
  fill(numbered_text_form::kLeftText, "Item");
  fill(numbered_text_form::kStartNumber, "1");
  fill(numbered_text_form::kRightText, ".");
  fill(numbered_text_form::kLineCount, "3");
  click(numbered_text_form::kRunButton);
  EXPECT_EQ(document(), "Item1.\r\nItem2.\r\nItem3.\r\n");
  EXPECT_EQ(DocumentSelection().start, document().size());  // as appending leaves it
  EXPECT_TRUE(IsModified());
  undo_gives("old");

  fill(numbered_text_form::kStartNumber, "");  // an empty start numbers from 0
  fill(numbered_text_form::kLineCount, "\xA3\xB2");  // a full-width 2
  click(numbered_text_form::kRunButton);
  EXPECT_EQ(document(), "Item0.\r\nItem1.\r\n");
  fill(numbered_text_form::kStartNumber, "-2");
  click(numbered_text_form::kRunButton);
  EXPECT_EQ(document(), "Item-2.\r\nItem-1.\r\n");
  click(numbered_text_form::kNumbered);  // unchecked
  click(numbered_text_form::kRunButton);
  EXPECT_EQ(document(), "Item.\r\nItem.\r\n");
  fill(numbered_text_form::kLineCount, "0");
  click(numbered_text_form::kRunButton);
  EXPECT_EQ(document(), "");

  // "段前" while it is open: only activated, captions as they were, the button inserts.
  WriteDocument("a\r\nb\r\nc");
  choose("段前");
  EXPECT_EQ(State().dialogMode, kInsertBeforeMode);
  EXPECT_EQ(text_of(numbered_text_form::kWindow, property::kTitle), "生成带序号文本");
  fill(numbered_text_form::kLeftText, "[");
  fill(numbered_text_form::kRightText, "]");
  click(numbered_text_form::kRunButton);
  EXPECT_EQ(document(), "[]a\r\n[]b\r\n[]c\r\n");
  EXPECT_EQ(DocumentSelection().start, 0u);
  undo_gives("a\r\nb\r\nc");

  choose("段尾");
  click(numbered_text_form::kNumbered);  // checked again
  fill(numbered_text_form::kStartNumber, "1");
  click(numbered_text_form::kRunButton);
  EXPECT_EQ(document(), "a[1]\r\nb[2]\r\nc[3]\r\n");
  undo_gives("a\r\nb\r\nc");

  // A use the dialog does not know: the button does nothing.
  State().dialogMode = 4;
  click(numbered_text_form::kRunButton);
  EXPECT_EQ(document(), "a\r\nb\r\nc");
}

TEST_F(GeneratorsTest, InsertionDialogsOpenInTheirOwnUse) {
  choose("段前");
  EXPECT_EQ(text_of(numbered_text_form::kWindow, property::kTitle), "段前插入");
  EXPECT_EQ(text_of(numbered_text_form::kRunButton, property::kButtonCaption), "段前插入");
  EXPECT_FALSE(visible(numbered_text_form::kLineCount));
  EXPECT_FALSE(visible(numbered_text_form::kLineCountLabel));
  WriteDocument("x\r\ny\r\nz");
  fill(numbered_text_form::kLeftText, "No.");
  fill(numbered_text_form::kStartNumber, "1");
  fill(numbered_text_form::kRightText, ".");
  click(numbered_text_form::kRunButton);
  EXPECT_EQ(document(), "No.1.x\r\nNo.2.y\r\nNo.3.z\r\n");
  FormRuntime::instance().close_form(forms::kNumberedTextForm, false);

  choose("段尾");
  EXPECT_EQ(text_of(numbered_text_form::kWindow, property::kTitle), "段后插入");
  EXPECT_EQ(text_of(numbered_text_form::kRunButton, property::kButtonCaption), "段后插入");
  FormRuntime::instance().close_form(forms::kNumberedTextForm, false);

  // Opened again for numbered text, the count row comes back.
  choose("带序号文本");
  EXPECT_EQ(text_of(numbered_text_form::kWindow, property::kTitle), "生成带序号文本");
  EXPECT_TRUE(visible(numbered_text_form::kLineCount));
}

TEST_F(GeneratorsTest, AccountDialogBoxesFollowTheirRadioBoxes) {
  choose("账号密码");
  ASSERT_NE(FormRuntime::instance().window_of(forms::kAccountPasswordForm), nullptr);
  namespace form = account_form;
  const auto expect_enabled = [&](std::initializer_list<UnitRef> enabled, std::initializer_list<UnitRef> off) {
    for (const UnitRef& box : enabled) EXPECT_FALSE(disabled(box)) << std::hex << box.unit_id;
    for (const UnitRef& box : off) EXPECT_TRUE(disabled(box)) << std::hex << box.unit_id;
  };
  expect_enabled({form::kAccountShortest, form::kAccountLongest, form::kPasswordShortest, form::kPasswordLongest},
                 {form::kAccountLength, form::kPasswordLength, form::kPasswordContent});
  click(form::kAccountFixed);
  expect_enabled({form::kAccountLength}, {form::kAccountShortest, form::kAccountLongest});
  click(form::kAccountRange);
  expect_enabled({form::kAccountShortest, form::kAccountLongest}, {form::kAccountLength});
  click(form::kPasswordFixed);
  expect_enabled({form::kPasswordLength}, {form::kPasswordShortest, form::kPasswordLongest, form::kPasswordContent});
  click(form::kPasswordFixedContent);
  expect_enabled({form::kPasswordContent}, {form::kPasswordShortest, form::kPasswordLongest, form::kPasswordLength});
  click(form::kPasswordRange);
  expect_enabled({form::kPasswordShortest, form::kPasswordLongest}, {form::kPasswordLength, form::kPasswordContent});
  // The account boxes are left as they were by the password radio boxes.
  expect_enabled({form::kAccountShortest, form::kAccountLongest}, {form::kAccountLength});
}

TEST_F(GeneratorsTest, AccountsAndPasswords) {
  namespace form = account_form;
  choose("账号密码");
  WriteDocument("old");
  click(form::kRunButton);  // the starting settings: every length 0
  std::string separators;
  for (int i = 0; i < 10; ++i) separators += kSeparator + "\r\n";
  EXPECT_EQ(document(), separators);
  EXPECT_EQ(DocumentSelection().start, document().size());
  undo_gives("old");

  click(form::kAccountFixed);
  fill(form::kAccountLength, "8");
  click(form::kAccountLetterFirst);
  click(form::kPasswordFixedContent);
  fill(form::kPasswordContent, "abc");
  fill(form::kAmount, "3");
  click(form::kRunButton);
  const std::string made = document();
  ASSERT_EQ(made.size(), 3 * (8 + kSeparator.size() + 3 + 2));
  for (int line = 0; line < 3; ++line) {
    const std::string text = made.substr(static_cast<std::size_t>(line) * 21, 21);
    EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(text[0]))) << text;
    EXPECT_EQ(text.substr(8), kSeparator + "abc\r\n");
  }
  undo_gives("old");
}

TEST_F(GeneratorsTest, TheTimeIsAddedAtTheEndWithNothingElse) {
  WriteDocument("note: ");
  SelectInDocument(0, 2);
  const auto now_text = [] {
    const text::OwnedText now = text::call::to_text(text::date_time_record(text::call::now()));
    return std::string(now.get());
  };
  const std::string before = now_text();
  choose("&T.时间");
  const std::string after = now_text();
  const std::string added = document().substr(6);
  EXPECT_TRUE(added == before || added == after) << added;
  EXPECT_EQ(document().substr(0, 6), "note: ");
  EXPECT_EQ(DocumentSelection().start, document().size());
  EXPECT_TRUE(IsModified());
  undo_gives("note: ");
}

TEST_F(GeneratorsTest, ACountTooLargeIsRefusedAndTheDocumentStays) {
  write_file("a.txt", "kept");
  open(file("a.txt"));
  choose("带序号文本");
  fill(numbered_text_form::kLineCount, "2147483647");
  click(numbered_text_form::kRunButton);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "要生成的文本过大（超过256MB），文档未作改动。");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x10u);
  EXPECT_EQ(document(), "kept");
  EXPECT_FALSE(IsModified());

  choose("账号密码");
  call::write_text(account_form::kAmount, property::kContent, "2147483647");
  click(account_form::kRunButton);
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1].text, "要生成的文本过大（超过256MB），文档未作改动。");
  EXPECT_EQ(document(), "kept");
  EXPECT_FALSE(IsModified());
}

}  // namespace
}  // namespace quillet::editor

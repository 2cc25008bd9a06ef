// The regex dialog under Wine, through the real dialog: its two uses and their captions, the
// radio boxes, the mode that an open dialog follows, and one Undo after each tool.
#include "editor/editor_test_fixture.h"
#include "editor/regex_dialog.h"
#include "forms/win32/property_service.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;

using RegexDialogTest = EditorTest;

TEST_F(RegexDialogTest, ReplaceAndExtractWithTheirCaptionsAndBoxes) {
  choose("&Z.正则替换/提取");
  const HWND dialog = FormRuntime::instance().window_of(forms::kRegexForm);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  EXPECT_EQ(text_of(regex_form::kWindow, property::kTitle), "正则替换/提取");
  EXPECT_EQ(text_of(regex_form::kRunButton, property::kButtonCaption), "替换");
  EXPECT_EQ(text_of(regex_form::kPatternLabel, property::kLabelCaption), "正则表达式：");
  EXPECT_TRUE(visible(regex_form::kMatchCase));

  WriteDocument("a1b22c1");
  fill(regex_form::kPattern, "[0-9]+");
  fill(regex_form::kReplacement, "-");
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), "a-b-c-");
  EXPECT_TRUE(IsModified());
  choose("&U.撤消");
  EXPECT_EQ(document(), "a1b22c1");

  click(regex_form::kExtractMode);
  EXPECT_EQ(text_of(regex_form::kRunButton, property::kButtonCaption), "提取");
  EXPECT_TRUE(disabled(regex_form::kReplacement));
  EXPECT_TRUE(disabled(regex_form::kReplacementLabel));
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), "1\r\n22\r\n1\r\n");
  EXPECT_EQ(DocumentSelection().start, document().size());  // the caret at the end, as appending leaves it
  choose("&U.撤消");
  EXPECT_EQ(document(), "a1b22c1");

  click(regex_form::kReplaceMode);
  EXPECT_EQ(text_of(regex_form::kRunButton, property::kButtonCaption), "替换");
  EXPECT_FALSE(disabled(regex_form::kReplacement));

  // Without case: the first match replaces both.
  WriteDocument("ABC xabc");
  fill(regex_form::kPattern, "abc");
  fill(regex_form::kReplacement, "R");
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), "R xR");
}

TEST_F(RegexDialogTest, NothingFoundNothingWrittenAndAPatternTooComplexChangesNothing) {
  choose("&Z.正则替换/提取");
  write_file("a.txt", "abc");
  open(file("a.txt"));
  fill(regex_form::kPattern, "(");  // does not compile: finds nothing
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), "abc");
  EXPECT_FALSE(IsModified());
  fill(regex_form::kPattern, "z");
  click(regex_form::kRunButton);
  EXPECT_FALSE(IsModified());

  const std::string as = std::string(40, 'a') + "b";
  WriteDocument(as.c_str());
  fill(regex_form::kPattern, "(a+)+$");
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), as);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].text, "正则表达式过于复杂，或结果过大，文档未作改动。");
  EXPECT_EQ(boxes_[0].style & 0xFF, 0x10u);

  // Extracting with a pattern that does not compile leaves an empty document.
  click(regex_form::kExtractMode);
  fill(regex_form::kPattern, "(");
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), "");
}

TEST_F(RegexDialogTest, TheByteRangeUseAndTheModeAnOpenDialogFollows) {
  choose("保留指定位置");
  EXPECT_EQ(State().dialogMode, kRangeMode);
  EXPECT_EQ(text_of(regex_form::kWindow, property::kTitle), "保留指定位置");
  EXPECT_EQ(text_of(regex_form::kReplaceMode, property::kBoxCaption), "删除");
  EXPECT_EQ(text_of(regex_form::kExtractMode, property::kBoxCaption), "提取");
  EXPECT_EQ(text_of(regex_form::kPatternLabel, property::kLabelCaption), "起始位置：");
  EXPECT_EQ(text_of(regex_form::kReplacementLabel, property::kLabelCaption), "长度：");
  EXPECT_EQ(text_of(regex_form::kRunButton, property::kButtonCaption), "删除");
  EXPECT_EQ(call::read_int(regex_form::kPattern, property::kInputMode), input_mode::kIntegerText);
  EXPECT_FALSE(visible(regex_form::kMatchCase));
  EXPECT_FALSE(visible(regex_form::kNote));

  WriteDocument("abcdef");
  fill(regex_form::kPattern, "3");
  fill(regex_form::kReplacement, "2");
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), "abef");
  choose("&U.撤消");
  EXPECT_EQ(document(), "abcdef");
  click(regex_form::kExtractMode);  // the replacement box stays usable in this use
  EXPECT_FALSE(disabled(regex_form::kReplacement));
  EXPECT_EQ(text_of(regex_form::kRunButton, property::kButtonCaption), "提取");
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), "cd");

  // Chosen from the other menu item while open: only activated, captions as they were, but the
  // button works in the mode chosen last.
  choose("&Z.正则替换/提取");
  EXPECT_EQ(State().dialogMode, kRegexMode);
  EXPECT_EQ(text_of(regex_form::kWindow, property::kTitle), "保留指定位置");
  WriteDocument("a1b2");
  fill(regex_form::kPattern, "[0-9]");
  click(regex_form::kRunButton);  // "提取" is still chosen
  EXPECT_EQ(document(), "1\r\n2\r\n");

  // A mode the dialog does not know: the button does nothing.
  State().dialogMode = 3;
  WriteDocument("a1b2");
  click(regex_form::kRunButton);
  EXPECT_EQ(document(), "a1b2");

  // Closed and opened again in the first use: its captions come back, and the replacement box
  // is usable with "替换" chosen again.
  click(regex_form::kExtractMode);
  FormRuntime::instance().close_form(forms::kRegexForm, false);
  choose("&Z.正则替换/提取");
  EXPECT_EQ(text_of(regex_form::kWindow, property::kTitle), "正则替换/提取");
  EXPECT_TRUE(call::read_bool(regex_form::kReplaceMode, property::kChecked));
  EXPECT_FALSE(disabled(regex_form::kReplacement));
  EXPECT_EQ(call::read_int(regex_form::kPattern, property::kInputMode), input_mode::kAnyText);
  EXPECT_TRUE(visible(regex_form::kNote));
}

}  // namespace
}  // namespace quillet::editor

// The replace and paragraph tools under Wine, through the real dialogs and menus: each button
// applies its tool to the document, and one Undo brings the text back.
#include "editor/editor_test_fixture.h"

#include <commctrl.h>

#include "forms/win32/property_service.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;

class ReplaceParagraphTest : public EditorTest {
 protected:
  void set_checked(const UnitRef& box, bool checked) { call::write_bool(box, property::kChecked, checked); }
  std::string field(const UnitRef& box) const {
    const text::OwnedText text = call::read_text(box, property::kContent);
    return text ? text.get() : "";
  }
};

TEST_F(ReplaceParagraphTest, BasicReplaceWithAndWithoutCaseAndTheDialogKeepsItsFields) {
  WriteDocument("Aa \xB0\xA1\xB0\xA1");
  choose("&R.基本替换");
  const HWND dialog = FormRuntime::instance().window_of(forms::kReplaceForm);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), main_window());
  fill(replace_form::kFindText, "a");
  fill(replace_form::kReplacement, "b");
  click(replace_form::kReplaceButton);
  EXPECT_EQ(document(), "bb \xB0\xA1\xB0\xA1");
  EXPECT_TRUE(IsModified());
  undo_gives("Aa \xB0\xA1\xB0\xA1");

  set_checked(replace_form::kMatchCase, true);
  click(replace_form::kReplaceButton);  // the dialog stays open and runs again
  EXPECT_EQ(document(), "Ab \xB0\xA1\xB0\xA1");

  // Never from the second byte of a character.
  fill(replace_form::kFindText, "\xA1\xB0");
  click(replace_form::kReplaceButton);
  EXPECT_EQ(document(), "Ab \xB0\xA1\xB0\xA1");

  // Chosen again while open: the same dialog, its fields as they were.
  choose("&R.基本替换");
  EXPECT_EQ(FormRuntime::instance().window_of(forms::kReplaceForm), dialog);
  EXPECT_EQ(field(replace_form::kFindText), "\xA1\xB0");
  EXPECT_EQ(field(replace_form::kReplacement), "b");
  EXPECT_TRUE(call::read_bool(replace_form::kMatchCase, property::kChecked));
}

TEST_F(ReplaceParagraphTest, TheLineBreakDialogsFourSeparatorChoices) {
  choose("换行符前后文本");
  const auto& form = line_break_replace_form;
  const HWND dialog = FormRuntime::instance().window_of(forms::kLineBreakReplaceForm);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  EXPECT_TRUE(call::read_bool(form.find_separator, property::kChecked));
  EXPECT_TRUE(call::read_bool(form.replace_separator, property::kChecked));
  fill(form.find_before, "x");
  fill(form.find_after, "y");
  fill(form.replace_before, "1");
  fill(form.replace_after, "2");
  const struct {
    bool in_find, in_replacement;
    const char* expected;
  } cases[] = {{true, true, "1\r\n2 xy"}, {true, false, "12 xy"}, {false, true, "x\r\ny 1\r\n2"}, {false, false, "x\r\ny 12"}};
  for (const auto& c : cases) {
    WriteDocument("x\r\ny xy");
    set_checked(form.find_separator, c.in_find);
    set_checked(form.replace_separator, c.in_replacement);
    click(form.run_button);
    EXPECT_EQ(document(), c.expected) << c.in_find << c.in_replacement;
    undo_gives("x\r\ny xy");
  }
  // The case box.
  WriteDocument("X\r\nY");
  set_checked(form.find_separator, true);
  set_checked(form.match_case, true);
  click(form.run_button);
  EXPECT_EQ(document(), "X\r\nY");
  set_checked(form.match_case, false);
  click(form.run_button);
  EXPECT_EQ(document(), "12");
}

TEST_F(ReplaceParagraphTest, TheTabDialogUsesTheTab) {
  choose("Tab前后文本");
  const auto& form = tab_replace_form;
  ASSERT_TRUE(FormRuntime::instance().is_loaded(forms::kTabReplaceForm));
  WriteDocument("a\tb\r\nc");
  // Both boxes cleared and every text empty: nothing to find, nothing written.
  set_checked(form.find_separator, false);
  set_checked(form.replace_separator, false);
  click(form.run_button);
  EXPECT_EQ(document(), "a\tb\r\nc");
  EXPECT_FALSE(IsModified());
  // The tab itself, found and replaced by nothing: the line break is no tab.
  set_checked(form.find_separator, true);
  click(form.run_button);
  EXPECT_EQ(document(), "ab\r\nc");
  // Both dialogs open at once, each with its own separator.
  choose("换行符前后文本");
  set_checked(line_break_replace_form.find_separator, true);
  set_checked(line_break_replace_form.replace_separator, false);
  click(line_break_replace_form.run_button);
  EXPECT_EQ(document(), "abc");
}

TEST_F(ReplaceParagraphTest, LineBreakCleanUpsFromTheMenu) {
  WriteDocument("a\r\n\r\n\r\nb\n\nc\r\n\r\n");
  choose("多换行符变单换行符");
  EXPECT_EQ(document(), "a\r\nb\n\nc\r\n");
  undo_gives("a\r\n\r\n\r\nb\n\nc\r\n\r\n");
  WriteDocument("a\r\nb\r\n\r\nc\r\n");
  choose("合为一段");
  EXPECT_EQ(document(), "abc");
  undo_gives("a\r\nb\r\n\r\nc\r\n");
  // An empty document stays empty and untouched.
  WriteDocument(nullptr);
  choose("多换行符变单换行符");
  choose("合为一段");
  EXPECT_EQ(document(), "");
  EXPECT_FALSE(IsModified());
}

TEST_F(ReplaceParagraphTest, SplitAtTheSeparatorTyped) {
  choose("分割文本");
  EXPECT_EQ(GetWindow(FormRuntime::instance().window_of(forms::kSplitTextForm), GW_OWNER), nullptr);
  WriteDocument("a,b,c,");
  fill(split_form::kSeparator, ",");
  click(split_form::kRunButton);
  EXPECT_EQ(document(), "a\r\nb\r\nc\r\n");
  undo_gives("a,b,c,");
  fill(split_form::kSeparator, "");
  click(split_form::kRunButton);
  EXPECT_EQ(document(), "a,b,c,\r\n");
}

// Records the captions a window is given.
LRESULT CALLBACK RecordCaption(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data) {
  if (message == WM_SETTEXT) {
    reinterpret_cast<std::vector<std::string>*>(data)->push_back(
        runtime::win32::narrow(reinterpret_cast<const wchar_t*>(lparam)));
  }
  return DefSubclassProc(window, message, wparam, lparam);
}

TEST_F(ReplaceParagraphTest, LeadingSpacesSaysWhileItWorksAndReadsTheNumberAsToIntegerDoes) {
  choose("段前增减");
  const HWND dialog = FormRuntime::instance().window_of(forms::kLeadingSpacesForm);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(field(leading_spaces_form::kSpaceCount), "4");
  std::vector<std::string> captions;
  SetWindowSubclass(dialog, RecordCaption, 1, reinterpret_cast<DWORD_PTR>(&captions));
  WriteDocument("x y\r\nz");
  click(leading_spaces_form::kRunButton);
  RemoveWindowSubclass(dialog, RecordCaption, 1);
  EXPECT_EQ(document(), "    xy\r\n    z\r\n");
  EXPECT_EQ(captions, (std::vector<std::string>{"段前空格——正在调整...", "段前空格——调整完毕！"}));
  undo_gives("x y\r\nz");

  fill(leading_spaces_form::kSpaceCount, "\xA3\xB2");  // a full-width 2
  click(leading_spaces_form::kRunButton);
  EXPECT_EQ(document(), "  xy\r\n  z\r\n");
  fill(leading_spaces_form::kSpaceCount, "abc");  // no number: flush left
  click(leading_spaces_form::kRunButton);
  EXPECT_EQ(document(), "xy\r\nz\r\n");
}

TEST_F(ReplaceParagraphTest, DeleteSpacesByTheChoiceMade) {
  choose("删除");
  EXPECT_TRUE(call::read_bool(delete_spaces_form::kAll, property::kChecked));
  WriteDocument(" a b \r\n c ");
  click(delete_spaces_form::kRunButton);
  EXPECT_EQ(document(), "ab\r\nc");  // everywhere: no line break added
  undo_gives(" a b \r\n c ");

  const struct {
    UnitRef choice;
    const char* expected;
  } cases[] = {{delete_spaces_form::kLeading, "a\xA1\xA1\r\n"},
               {delete_spaces_form::kTrailing, "  a\r\n"},
               {delete_spaces_form::kBothEnds, "a\r\n"}};
  for (const auto& c : cases) {
    WriteDocument("  a\xA1\xA1");
    click(c.choice);
    ASSERT_TRUE(call::read_bool(c.choice, property::kChecked));
    EXPECT_FALSE(call::read_bool(delete_spaces_form::kAll, property::kChecked));
    click(delete_spaces_form::kRunButton);
    EXPECT_EQ(document(), c.expected);
    undo_gives("  a\xA1\xA1");
  }
}

}  // namespace
}  // namespace quillet::editor

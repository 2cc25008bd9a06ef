#include "editor/numbered_text_dialog.h"

#include "editor/app_state.h"
#include "editor/dialog_fields.h"
#include "editor/document.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "text/dialogs.h"
#include "tools/generators.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;

void ShowUse(const char* title, const char* button, bool line_count_shown) {
  call::write_text(numbered_text_form::kWindow, property::kTitle, title);
  call::write_text(numbered_text_form::kRunButton, property::kButtonCaption, button);
  call::write_bool(numbered_text_form::kLineCountLabel, property::kVisible, line_count_shown);
  call::write_bool(numbered_text_form::kLineCount, property::kVisible, line_count_shown);
}

}  // namespace

void OnNumberedTextDialogCreated() {
  switch (State().dialogMode) {
    case kNumberedTextMode: return ShowUse("生成带序号文本", "生成", true);
    case kInsertBeforeMode: return ShowUse("段前插入", "段前插入", false);
    case kInsertAfterMode: return ShowUse("段后插入", "段后插入", false);
    default: return;  // a use the dialog does not know
  }
}

void RunNumberedTextDialog() {
  const int mode = State().dialogMode;
  if (mode != kNumberedTextMode && mode != kInsertBeforeMode && mode != kInsertAfterMode) return;
  const DialogText left = ReadDialogText(numbered_text_form::kLeftText);
  const DialogText right = ReadDialogText(numbered_text_form::kRightText);
  const tools::LineParts parts{left, IsChecked(numbered_text_form::kNumbered),
                               ReadDialogNumber(numbered_text_form::kStartNumber), right};
  if (mode == kNumberedTextMode) {
    const std::int32_t count = ReadDialogNumber(numbered_text_form::kLineCount);
    // Made in place of the document, the caret after the last line.
    if (!TryApplyToDocument([&](std::string_view) { return tools::numbered_lines(parts, count); }, CaretAfter::End)) {
      text::call::message_box("要生成的文本过大（超过256MB），文档未作改动。", kErrorBox);
    }
    return;
  }
  const tools::Placement placement =
      mode == kInsertBeforeMode ? tools::Placement::BeforeParagraphs : tools::Placement::AfterParagraphs;
  if (!TryApplyToDocument(
          [&](std::string_view document) { return tools::insert_in_paragraphs(document, placement, parts); })) {
    text::call::message_box("插入后的文本过大（超过256MB），文档未作改动。", kErrorBox);
  }
}

}  // namespace quillet::editor

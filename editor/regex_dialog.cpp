#include "editor/regex_dialog.h"

#include "editor/app_state.h"
#include "editor/dialog_fields.h"
#include "editor/document.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "text/dialogs.h"
#include "tools/regex_tools.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;

// The captions and boxes of each use.
struct Use {
  const char* title;
  const char* first_choice;
  const char* first_label;
  const char* second_label;
  std::int32_t input_mode;
  bool case_and_note_shown;
};
constexpr Use kRegexUse{"正则替换/提取", "替换", "正则表达式：", "替换为(P)：", input_mode::kAnyText, true};
constexpr Use kRangeUse{"保留指定位置", "删除", "起始位置：", "长度：", input_mode::kIntegerText, false};

// The button shows the chosen radio box's caption.
void ShowChoiceOnButton(const UnitRef& choice) {
  const DialogText caption = ReadDialogText(choice, property::kBoxCaption);
  call::write_text(regex_form::kRunButton, property::kButtonCaption, std::string(caption).c_str());
}

void TellTooMuch() {
  text::call::message_box("正则表达式过于复杂，或结果过大，文档未作改动。", kErrorBox);
}

}  // namespace

void OnRegexDialogCreated() {
  const int mode = State().dialogMode;
  if (mode != kRegexMode && mode != kRangeMode) return;
  const Use& use = mode == kRegexMode ? kRegexUse : kRangeUse;
  call::write_text(regex_form::kWindow, property::kTitle, use.title);
  call::write_text(regex_form::kReplaceMode, property::kBoxCaption, use.first_choice);
  call::write_text(regex_form::kPatternLabel, property::kLabelCaption, use.first_label);
  call::write_text(regex_form::kReplacementLabel, property::kLabelCaption, use.second_label);
  call::write_int(regex_form::kReplacement, property::kInputMode, use.input_mode);
  call::write_int(regex_form::kPattern, property::kInputMode, use.input_mode);
  call::write_bool(regex_form::kMatchCase, property::kVisible, use.case_and_note_shown);
  call::write_bool(regex_form::kNote, property::kVisible, use.case_and_note_shown);
  call::write_text(regex_form::kRunButton, property::kButtonCaption, use.first_choice);
  // The runtime keeps a unit's enabled state from one opening of the form to the next, but
  // not its radio boxes' choice, which opens on the first: the replacement box follows it.
  const bool replacement_used = mode == kRangeMode || IsChecked(regex_form::kReplaceMode);
  call::write_bool(regex_form::kReplacementLabel, property::kDisabled, !replacement_used);
  call::write_bool(regex_form::kReplacement, property::kDisabled, !replacement_used);
}

void OnFirstChoiceClicked() {
  ShowChoiceOnButton(regex_form::kReplaceMode);
  if (State().dialogMode != kRegexMode) return;
  call::write_bool(regex_form::kReplacementLabel, property::kDisabled, false);
  call::write_bool(regex_form::kReplacement, property::kDisabled, false);
}

void OnSecondChoiceClicked() {
  ShowChoiceOnButton(regex_form::kExtractMode);
  if (State().dialogMode != kRegexMode) return;
  // Extracting takes no replacement.
  call::write_bool(regex_form::kReplacementLabel, property::kDisabled, true);
  call::write_bool(regex_form::kReplacement, property::kDisabled, true);
}

void RunRegexDialog() {
  const bool first_choice = IsChecked(regex_form::kReplaceMode);
  switch (State().dialogMode) {
    case kRegexMode: {
      const DialogText pattern = ReadDialogText(regex_form::kPattern);
      const DialogText replacement = ReadDialogText(regex_form::kReplacement);
      const bool match_case = IsChecked(regex_form::kMatchCase);
      const bool done =
          first_choice
              ? TryApplyToDocument([&](std::string_view document) {
                  return tools::regex_replace(document, pattern, replacement, match_case);
                })
              : TryApplyToDocument(
                    [&](std::string_view document) { return tools::regex_extract(document, pattern, match_case); },
                    CaretAfter::End);
      if (!done) TellTooMuch();
      return;
    }
    case kRangeMode: {
      const std::int32_t start = ReadDialogNumber(regex_form::kPattern);
      const std::int32_t length = ReadDialogNumber(regex_form::kReplacement);
      const tools::RangeChoice choice = first_choice ? tools::RangeChoice::Delete : tools::RangeChoice::Keep;
      ApplyToDocument([&](std::string_view document) { return tools::cut_range(document, start, length, choice); });
      return;
    }
    default:
      return;  // a use the dialog does not know
  }
}

}  // namespace quillet::editor

#include "editor/account_dialog.h"

#include <initializer_list>

#include "editor/dialog_fields.h"
#include "editor/document.h"
#include "editor/units.h"
#include "forms/win32/property_service.h"
#include "text/dialogs.h"
#include "tools/generators.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;
namespace form = account_form;

void Enable(std::initializer_list<UnitRef> enabled, std::initializer_list<UnitRef> disabled) {
  for (const UnitRef& box : enabled) call::write_bool(box, property::kDisabled, false);
  for (const UnitRef& box : disabled) call::write_bool(box, property::kDisabled, true);
}

tools::RandomTextRule AccountRule() {
  tools::RandomTextRule rule;
  if (IsChecked(form::kAccountFixed)) {
    rule.choice = tools::LengthChoice::Fixed;
    rule.length = ReadDialogNumber(form::kAccountLength);
  } else {
    rule.choice = tools::LengthChoice::Range;
    rule.shortest = ReadDialogNumber(form::kAccountShortest);
    rule.longest = ReadDialogNumber(form::kAccountLongest);
  }
  rule.letter_first = IsChecked(form::kAccountLetterFirst);
  return rule;
}

// The content of a fixed password is held by the caller's DialogText.
tools::RandomTextRule PasswordRule(const DialogText& content) {
  tools::RandomTextRule rule;
  if (IsChecked(form::kPasswordFixed)) {
    rule.choice = tools::LengthChoice::Fixed;
    rule.length = ReadDialogNumber(form::kPasswordLength);
  } else if (IsChecked(form::kPasswordFixedContent)) {
    rule.choice = tools::LengthChoice::FixedContent;
    rule.content = content;
  } else {
    rule.choice = tools::LengthChoice::Range;
    rule.shortest = ReadDialogNumber(form::kPasswordShortest);  // 编辑框5 the shortest,
    rule.longest = ReadDialogNumber(form::kPasswordLongest);    // 编辑框4 the longest
  }
  rule.letter_first = IsChecked(form::kPasswordLetterFirst);
  return rule;
}

}  // namespace

void OnAccountDialogCreated() {
  Enable({form::kAccountShortest, form::kAccountLongest, form::kPasswordShortest, form::kPasswordLongest},
         {form::kAccountLength, form::kPasswordLength, form::kPasswordContent});
}

void OnAccountFixedLengthChosen() { Enable({form::kAccountLength}, {form::kAccountShortest, form::kAccountLongest}); }
void OnAccountLengthRangeChosen() { Enable({form::kAccountShortest, form::kAccountLongest}, {form::kAccountLength}); }

void OnPasswordFixedLengthChosen() {
  Enable({form::kPasswordLength}, {form::kPasswordLongest, form::kPasswordShortest, form::kPasswordContent});
}
void OnPasswordLengthRangeChosen() {
  Enable({form::kPasswordLongest, form::kPasswordShortest}, {form::kPasswordLength, form::kPasswordContent});
}
void OnPasswordFixedContentChosen() {
  Enable({form::kPasswordContent}, {form::kPasswordLongest, form::kPasswordShortest, form::kPasswordLength});
}

// Made in place of the document, the caret after the last line.
void GenerateAccounts() {
  const DialogText content = ReadDialogText(form::kPasswordContent);
  const tools::RandomTextRule account = AccountRule();
  const tools::RandomTextRule password = PasswordRule(content);
  const std::int32_t count = ReadDialogNumber(form::kAmount);
  if (!TryApplyToDocument([&](std::string_view) { return tools::accounts_and_passwords(account, password, count); },
                          CaretAfter::End)) {
    text::call::message_box("要生成的文本过大（超过256MB），文档未作改动。", kErrorBox);
  }
}

}  // namespace quillet::editor

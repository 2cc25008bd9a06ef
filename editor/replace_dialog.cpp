#include "editor/replace_dialog.h"

#include "editor/dialog_fields.h"
#include "editor/document.h"
#include "editor/units.h"
#include "tools/replace.h"

namespace quillet::editor {

void RunReplace() {
  const DialogText find = ReadDialogText(replace_form::kFindText);
  const DialogText replacement = ReadDialogText(replace_form::kReplacement);
  const bool match_case = IsChecked(replace_form::kMatchCase);
  ApplyToDocument([&](std::string_view document) { return tools::replace_all(document, find, replacement, match_case); });
}

}  // namespace quillet::editor

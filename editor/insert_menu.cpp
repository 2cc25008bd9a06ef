#include "editor/insert_menu.h"

#include <string>

#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/numbered_text_dialog.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "text/conversion.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;
}  // namespace

void OpenInsertBeforeDialog() {
  State().dialogMode = kInsertBeforeMode;
  call::load_form(numbered_text_form::kWindow);
}

void OpenInsertAfterDialog() {
  State().dialogMode = kInsertAfterMode;
  call::load_form(numbered_text_form::kWindow);
}

// The date and time as the text library writes them, added at the end with nothing else; the
// caret ends after them, wherever it was.
void InsertTime() {
  const text::OwnedText now = text::call::to_text(text::date_time_record(text::call::now()));
  const std::string added = now.get();
  ApplyToDocument([&added](std::string_view document) { return std::string(document) + added; }, CaretAfter::End);
}

}  // namespace quillet::editor

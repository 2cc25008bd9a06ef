#include "editor/context_replace_dialog.h"

#include "editor/dialog_fields.h"
#include "editor/document.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "tools/paragraphs.h"
#include "tools/replace.h"

namespace quillet::editor {

void RunContextReplace() {
  const bool tab = forms::win32::call::event_sender().form_id == forms::kTabReplaceForm;
  const forms::unit::ContextReplaceUnits& form = tab ? tab_replace_form : line_break_replace_form;
  const DialogText find_before = ReadDialogText(form.find_before);
  const DialogText find_after = ReadDialogText(form.find_after);
  const DialogText replace_before = ReadDialogText(form.replace_before);
  const DialogText replace_after = ReadDialogText(form.replace_after);
  const tools::AroundSeparator context{tab ? tools::kTab : tools::kLineBreak,
                                       find_before,
                                       IsChecked(form.find_separator),
                                       find_after,
                                       replace_before,
                                       IsChecked(form.replace_separator),
                                       replace_after,
                                       IsChecked(form.match_case)};
  ApplyToDocument([&](std::string_view document) { return tools::replace_around_separator(document, context); });
}

}  // namespace quillet::editor

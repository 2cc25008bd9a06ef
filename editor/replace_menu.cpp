#include "editor/replace_menu.h"

#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/regex_dialog.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "tools/replace.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;
}  // namespace

// The basic dialog belongs to the main window; the two context dialogs stand on their own.
void OpenReplaceDialog() { call::load_form(replace_form::kWindow, main_window::kWindow, false); }
void OpenLineBreakReplace() { call::load_form(line_break_replace_form.window); }
void OpenTabReplace() { call::load_form(tab_replace_form.window); }

void OpenRegexDialog() {
  State().dialogMode = kRegexMode;
  call::load_form(regex_form::kWindow);
}

void CollapseLineBreaks() { ApplyToDocument(tools::collapse_line_breaks); }
void MergeParagraphs() { ApplyToDocument(tools::merge_paragraphs); }

}  // namespace quillet::editor

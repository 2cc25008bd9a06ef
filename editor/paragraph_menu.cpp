#include "editor/paragraph_menu.h"

#include "editor/app_state.h"
#include "editor/regex_dialog.h"
#include "editor/units.h"
#include "forms/win32/methods.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;
}  // namespace

// Each stands on its own, without an owner, and stays open after its button has run.
void OpenSplitDialog() { call::load_form(split_form::kWindow); }
void OpenLeadingSpacesDialog() { call::load_form(leading_spaces_form::kWindow); }
void OpenDeleteSpacesDialog() { call::load_form(delete_spaces_form::kWindow); }

void OpenRangeDialog() {
  State().dialogMode = kRangeMode;
  call::load_form(regex_form::kWindow);
}

}  // namespace quillet::editor

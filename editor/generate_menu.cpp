#include "editor/generate_menu.h"

#include "editor/app_state.h"
#include "editor/numbered_text_dialog.h"
#include "editor/units.h"
#include "forms/win32/methods.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;
}  // namespace

// Each stands on its own, without an owner, and stays open after its button has run.
void OpenNumberedTextDialog() {
  State().dialogMode = kNumberedTextMode;
  call::load_form(numbered_text_form::kWindow);
}

void OpenAccountDialog() { call::load_form(account_form::kWindow); }

}  // namespace quillet::editor

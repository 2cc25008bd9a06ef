#include "editor/find_dialog.h"

#include "editor/app_state.h"
#include "editor/dialog_fields.h"
#include "editor/search_menu.h"
#include "editor/units.h"
#include "forms/win32/methods.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;

// The window's search text and case choice become the ones remembered for the run.
void TakeSearchFromDialog() {
  State().searchText = call::read_text(find_form::kSearchText, property::kContent);
  State().searchMatchCase = IsChecked(find_form::kMatchCase);
}

}  // namespace

void OnFindDialogCreated() {
  // Writing the text raises its content-changed event, which sets the buttons.
  call::write_text(find_form::kSearchText, property::kContent, State().searchText.get());
  call::write_bool(find_form::kMatchCase, property::kChecked, State().searchMatchCase);
  // All of it selected, so typing replaces it.
  call::write_int(find_form::kSearchText, property::kSelectionLength, -1);
}

void OnFindTextChanged() {
  const bool empty = !call::read_text(find_form::kSearchText, property::kContent);
  call::write_bool(find_form::kSearchBackward, property::kDisabled, empty);
  call::write_bool(find_form::kSearchForward, property::kDisabled, empty);
}

void SearchForwardFromDialog() {
  TakeSearchFromDialog();
  FindInDocument(true);
}

void SearchBackwardFromDialog() {
  TakeSearchFromDialog();
  FindInDocument(false);
}

}  // namespace quillet::editor

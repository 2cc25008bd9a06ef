// The find window ("搜寻"): modeless, owned by the main window. It shows the last search text
// and case choice, and its two buttons search from the document's selection.
#pragma once

namespace quillet::editor {

void OnFindDialogCreated();
// Both buttons are disabled while the search text is empty.
void OnFindTextChanged();
void SearchForwardFromDialog();
void SearchBackwardFromDialog();

}  // namespace quillet::editor

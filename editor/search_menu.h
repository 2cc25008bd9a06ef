// The Search menu: the find window, and the last search repeated forwards or backwards.
#pragma once

namespace quillet::editor {

// Searches the document for searchText (case as searchMatchCase says) from the selection,
// forwards or backwards without wrapping, and selects the match or says that there is none.
// The only search routine; nothing happens while searchText is empty.
void FindInDocument(bool forward);

void OpenFindDialog();
void FindNext();
void FindPrevious();

}  // namespace quillet::editor

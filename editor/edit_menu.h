// The Edit menu: each item sends one message to the document and leaves the rest to it.
#pragma once

namespace quillet::editor {

void Undo();
void Cut();
void Copy();
void Paste();
void SelectAll();

}  // namespace quillet::editor

#include "editor/edit_menu.h"

#include "editor/document.h"
#include "editor/units.h"

namespace quillet::editor {

void Undo() { SendToDocument(message::kUndo); }
void Cut() { SendToDocument(message::kCut); }
void Copy() { SendToDocument(message::kCopy); }
void Paste() { SendToDocument(message::kPaste); }
void SelectAll() { SendToDocument(message::kSetSelection, 0, -1); }

}  // namespace quillet::editor

// The main window's events: created, resized, the close query and about to be destroyed.
#pragma once

namespace quillet::editor {

void OnMainWindowCreated();
void FitEditBox();
// True when the window may close.
bool OnCloseQuery();
void OnMainWindowDestroying();

}  // namespace quillet::editor

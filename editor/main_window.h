// The main window's events: created, resized, the close query, about to be destroyed, and the
// contact picture clicked.
#pragma once

namespace quillet::editor {

void OnMainWindowCreated();
void FitEditBox();
// True when the window may close.
bool OnCloseQuery();
void OnMainWindowDestroying();
// The left button released over the contact picture: the contact page, when the build names one.
void OpenContactPage();

}  // namespace quillet::editor

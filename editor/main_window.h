// The main window's events, the Edit menu, word wrap and the font command.
#pragma once

#include <cstdint>

namespace quillet::editor {

void OnMainWindowCreated();
void FitEditBox();
// True when the window may close.
bool OnCloseQuery();
void OnMainWindowDestroying();

void Undo();
void Cut();
void Copy();
void Paste();
void SelectAll();
void ToggleWordWrap();
void ChooseFont();

}  // namespace quillet::editor

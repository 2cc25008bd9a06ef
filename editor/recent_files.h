// The list of the three most recently used files: in the registry, in the state, and as the
// File menu items "1", "2", "3" (with the separator before them), which are only ever shown.
#pragma once

namespace quillet::editor {

void AddRecentFile(const char* path);
void ShowRecentItems();
void LoadRecentFiles();
void StoreRecentFiles();
// The caption of menu item slot (0-based) from its slot: "&1. " + path.
void ShowRecentCaption(int slot);

}  // namespace quillet::editor

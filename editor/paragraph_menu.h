// The paragraph items of "&A.修正" that have dialogs of their own: split the text, spaces
// before paragraphs, delete spaces.
#pragma once

namespace quillet::editor {

void OpenSplitDialog();
void OpenLeadingSpacesDialog();
void OpenDeleteSpacesDialog();

}  // namespace quillet::editor

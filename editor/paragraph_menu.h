// The paragraph items of "&A.修正" that have dialogs: split the text, spaces before
// paragraphs, delete spaces, and the byte range kept or deleted (in the regex dialog).
#pragma once

namespace quillet::editor {

void OpenSplitDialog();
void OpenLeadingSpacesDialog();
void OpenDeleteSpacesDialog();
void OpenRangeDialog();  // "保留指定位置": the regex dialog, for a byte range

}  // namespace quillet::editor

// The replace items of "&A.修正": the three replace dialogs, and the two line-break clean-ups
// that run at once.
#pragma once

namespace quillet::editor {

void OpenReplaceDialog();
void OpenLineBreakReplace();
void OpenTabReplace();
void CollapseLineBreaks();
void MergeParagraphs();

}  // namespace quillet::editor

// The replace items of "&A.修正": the three replace dialogs, the regex dialog, and the two
// line-break clean-ups that run at once.
#pragma once

namespace quillet::editor {

void OpenReplaceDialog();
void OpenLineBreakReplace();
void OpenTabReplace();
void OpenRegexDialog();  // for replacing or extracting matches
void CollapseLineBreaks();
void MergeParagraphs();

}  // namespace quillet::editor

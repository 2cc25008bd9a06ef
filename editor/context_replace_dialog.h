// The dialogs "替换_换行符" and "替换_TAB": the text around a line break or a tab replaced. Both
// have the same units and the one handler, which tells them apart by the sender.
#pragma once

namespace quillet::editor {

void RunContextReplace();

}  // namespace quillet::editor

// The items of "插入文本" under "&A.修正": text before or after every paragraph (in the
// numbered-text dialog) and the date and time added at the end.
#pragma once

namespace quillet::editor {

void OpenInsertBeforeDialog();  // "段前"
void OpenInsertAfterDialog();   // "段尾"
void InsertTime();              // "&T.时间"

}  // namespace quillet::editor

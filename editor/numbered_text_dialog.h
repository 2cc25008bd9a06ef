// The numbered-text dialog, in the three uses that dialogMode chooses: numbered lines made
// ("生成带序号文本", 1), and the same parts put before ("段前插入", 2) or after ("段后插入", 3)
// every paragraph. The dialog reads dialogMode whenever it runs, so an open dialog follows the
// menu item chosen last; any other mode does nothing.
#pragma once

namespace quillet::editor {

inline constexpr int kNumberedTextMode = 1, kInsertBeforeMode = 2, kInsertAfterMode = 3;

void OnNumberedTextDialogCreated();
void RunNumberedTextDialog();

}  // namespace quillet::editor

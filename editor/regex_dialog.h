// The regex dialog, in the two uses that dialogMode chooses: "正则替换/提取" (1: replace the
// text of every match, or extract the matches) and "保留指定位置" (2: delete or keep a byte
// range). The dialog reads dialogMode whenever it runs, so an open dialog follows the menu item
// chosen last; any other mode does nothing.
#pragma once

namespace quillet::editor {

inline constexpr int kRegexMode = 1, kRangeMode = 2;

void OnRegexDialogCreated();
void OnFirstChoiceClicked();   // 单选框1: "替换" or "删除"
void OnSecondChoiceClicked();  // 单选框2: "提取"
void RunRegexDialog();

}  // namespace quillet::editor

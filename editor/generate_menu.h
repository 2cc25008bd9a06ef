// The menu "生成": numbered text and accounts with passwords, each in its dialog.
#pragma once

namespace quillet::editor {

void OpenNumberedTextDialog();  // "带序号文本"
void OpenAccountDialog();       // "账号密码"

}  // namespace quillet::editor

// The dialog "生成账号密码": the radio boxes that choose how accounts' and passwords' lengths
// (or the passwords' content) are given, each enabling its own boxes, and the button that fills
// the document with account/password pairs.
#pragma once

namespace quillet::editor {

void OnAccountDialogCreated();
void OnAccountFixedLengthChosen();     // 单选框1
void OnAccountLengthRangeChosen();     // 单选框2
void OnPasswordFixedLengthChosen();    // 单选框4
void OnPasswordLengthRangeChosen();    // 单选框3
void OnPasswordFixedContentChosen();   // 单选框5
void GenerateAccounts();

}  // namespace quillet::editor

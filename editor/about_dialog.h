// The menu "&H.帮助" and the about window it opens: modeless and without an owner, brought to
// the front when it is open already, closed by its button.
#pragma once

namespace quillet::editor {

void OpenAbout();   // "&A.关于..."
void CloseAbout();  // "确定(&C)"

}  // namespace quillet::editor

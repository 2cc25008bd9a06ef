// The Format menu: word wrap and the font of the document.
#pragma once

namespace quillet::editor {

void ToggleWordWrap();
void ChooseFont();

}  // namespace quillet::editor

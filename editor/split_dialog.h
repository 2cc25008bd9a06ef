// The dialog "分割文本": every occurrence of the separator becomes a line break.
#pragma once

namespace quillet::editor {

void SplitDocument();

}  // namespace quillet::editor

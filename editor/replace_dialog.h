// The dialog "替换": every occurrence of the find text replaced, with or without case.
#pragma once

namespace quillet::editor {

void RunReplace();

}  // namespace quillet::editor

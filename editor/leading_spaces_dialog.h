// The dialog "段前空格": every space removed and every paragraph indented by the number of
// spaces typed; the caption says while it works and when it is done.
#pragma once

namespace quillet::editor {

void IndentParagraphs();

}  // namespace quillet::editor

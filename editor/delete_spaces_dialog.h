// The dialog "删除空格": spaces deleted at the start of every paragraph, at its end, at both,
// or everywhere.
#pragma once

namespace quillet::editor {

void DeleteSpaces();

}  // namespace quillet::editor

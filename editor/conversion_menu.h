// The submenu "转换" of "&A.修正": the whole document to upper or lower case, full or half
// width. The case conversions are refused while the program is in full-width mode.
#pragma once

namespace quillet::editor {

void ConvertToUpperCase();
void ConvertToLowerCase();
void ConvertToFullWidth();
void ConvertToHalfWidth();

}  // namespace quillet::editor

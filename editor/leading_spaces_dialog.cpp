#include "editor/leading_spaces_dialog.h"

#include "editor/dialog_fields.h"
#include "editor/document.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "tools/paragraphs.h"

namespace quillet::editor {

void IndentParagraphs() {
  namespace call = forms::win32::call;
  call::write_text(leading_spaces_form::kWindow, property::kTitle, "段前空格——正在调整...");
  const std::int32_t spaces = ReadDialogNumber(leading_spaces_form::kSpaceCount);
  ApplyToDocument([spaces](std::string_view document) { return tools::indent_paragraphs(document, spaces); });
  call::write_text(leading_spaces_form::kWindow, property::kTitle, "段前空格——调整完毕！");
}

}  // namespace quillet::editor

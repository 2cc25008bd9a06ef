#include "editor/split_dialog.h"

#include "editor/dialog_fields.h"
#include "editor/document.h"
#include "editor/units.h"
#include "tools/paragraphs.h"

namespace quillet::editor {

void SplitDocument() {
  const DialogText separator = ReadDialogText(split_form::kSeparator);
  ApplyToDocument([&](std::string_view document) { return tools::split_at(document, separator); });
}

}  // namespace quillet::editor

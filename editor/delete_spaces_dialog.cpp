#include "editor/delete_spaces_dialog.h"

#include "editor/dialog_fields.h"
#include "editor/document.h"
#include "editor/units.h"
#include "tools/paragraphs.h"

namespace quillet::editor {

void DeleteSpaces() {
  using tools::SpacesToDelete;
  const SpacesToDelete which = IsChecked(delete_spaces_form::kLeading)    ? SpacesToDelete::Leading
                               : IsChecked(delete_spaces_form::kTrailing) ? SpacesToDelete::Trailing
                               : IsChecked(delete_spaces_form::kBothEnds) ? SpacesToDelete::BothEnds
                                                            : SpacesToDelete::All;
  ApplyToDocument([which](std::string_view document) { return tools::delete_spaces(document, which); });
}

}  // namespace quillet::editor

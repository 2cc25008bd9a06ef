#include "editor/dialog_fields.h"

#include "forms/win32/property_service.h"
#include "text/conversion.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;
}  // namespace

DialogText ReadDialogText(const UnitRef& unit, std::int32_t number) { return DialogText(call::read_text(unit, number)); }

bool IsChecked(const UnitRef& box) { return call::read_bool(box, property::kChecked); }

std::int32_t ReadDialogNumber(const UnitRef& edit_box) {
  const text::OwnedText content = call::read_text(edit_box, property::kContent);
  return text::call::to_integer(content.get());
}

}  // namespace quillet::editor

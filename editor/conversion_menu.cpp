#include "editor/conversion_menu.h"

#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/units.h"
#include "text/dialogs.h"
#include "tools/conversion.h"

namespace quillet::editor {
namespace {

// True (after saying so) while full-width mode forbids case conversion.
bool RefusedInFullWidthMode() {
  if (State().fullWidthMode != 1) return false;
  text::call::message_box("在全角模式下不能进行大小写转换！请转换到半角模式再进行大小写转换！", kErrorBox);
  return true;
}

}  // namespace

void ConvertToUpperCase() {
  if (RefusedInFullWidthMode()) return;
  ApplyToDocument(tools::upper_case);
}

void ConvertToLowerCase() {
  if (RefusedInFullWidthMode()) return;
  ApplyToDocument(tools::lower_case);
}

void ConvertToFullWidth() {
  // The mode follows even when there was nothing to convert, but not a refusal.
  if (ApplyToDocument([](std::string_view document) { return tools::full_width(document); })) State().fullWidthMode = 1;
}

void ConvertToHalfWidth() {
  ApplyToDocument(tools::half_width);
  State().fullWidthMode = 0;
}

}  // namespace quillet::editor

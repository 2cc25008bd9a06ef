// What the dialogs' handlers read from their controls: texts, check states and numbers.
#pragma once

#include <cstdint>
#include <string_view>

#include "editor/units.h"
#include "text/call_frame.h"

namespace quillet::editor {

// The content of an edit box, held for as long as the handler needs it; "" for the empty text.
class DialogText {
 public:
  explicit DialogText(text::OwnedText text) : text_(std::move(text)) {}
  operator std::string_view() const { return text_ ? std::string_view(text_.get()) : std::string_view(); }

 private:
  text::OwnedText text_;
};

// An edit box's content, or another text property of a unit.
DialogText ReadDialogText(const UnitRef& unit, std::int32_t number = property::kContent);
// A check box or a radio box.
bool IsChecked(const UnitRef& box);
// The number typed into a box, read as ToInteger reads it: full-width digits count, and
// anything that is no number counts as 0.
std::int32_t ReadDialogNumber(const UnitRef& edit_box);

}  // namespace quillet::editor

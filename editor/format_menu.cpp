#include "editor/format_menu.h"

#include "editor/document.h"
#include "editor/units.h"
#include "forms/win32/methods.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;
constexpr UnitRef kDialog = main_window::kCommonDialog;
}  // namespace

void ToggleWordWrap() {
  const text::OwnedText document = ReadDocument();
  const bool modified = IsModified();
  SetDocumentScrollBars(DocumentScrollBars() == kWrapLines ? kNoWrap : kWrapLines);
  WriteDocument(document.get());
  // Writing the text back clears the edit control's flag; unsaved text must stay unsaved.
  if (modified) SetModified(true);
}

void ChooseFont() {
  forms::win32::FontRecord font{};
  font.size = 9;
  font.face = "宋体";
  call::write_int(kDialog, property::kDialogKind, kFontDialog);
  if (!call::open_common_dialog(kDialog)) return;
  font.bold = call::read_bool(kDialog, property::kBold);
  font.italic = call::read_bool(kDialog, property::kItalic);
  font.underline = call::read_bool(kDialog, property::kUnderline);
  font.strike_out = call::read_bool(kDialog, property::kStrikeOut);
  const text::OwnedText face = call::read_text(kDialog, property::kFaceName);
  font.face = face.get();
  font.size = call::read_int(kDialog, property::kPointSize);
  SetDocumentFont(font, call::read_int(kDialog, property::kChosenColour));
}

}  // namespace quillet::editor

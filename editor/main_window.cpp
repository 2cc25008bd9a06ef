#include "editor/main_window.h"

#include <cmath>
#include <string>

#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/recent_files.h"
#include "editor/settings.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "text/conversion.h"
#include "text/shell.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;

void send_to_document(std::int32_t message, std::int32_t first = 0, std::int32_t second = 0) {
  call::send_message(kDocumentBox, message, first, second);
}

}  // namespace

void OnMainWindowCreated() {
  call::set_balloon_tip(kContactTip, kContactPicture, "定做软件、提交软件建议或意见，请点击这里！", -1);
  LoadRecentFiles();
  for (int i = 0; i < 3; ++i) state().recentMenuItems[i] = kRecentItems[i];
  for (int i = 0; i < 3; ++i) ShowRecentCaption(i);
  // Only item "1" has a handler stored; "2" and "3" use its bindings and the handler tells
  // them apart by the event's sender.
  for (int i = 1; i < 3; ++i) call::link_events(state().recentMenuItems[i], state().recentMenuItems[0]);
  ShowRecentItems();
}

void FitEditBox() {
  const double width = call::client_width(kMainWindow) - 10.0;
  const double height = call::client_height(kMainWindow) - 10.0;
  // -1 tells the move method to keep the current value.
  call::move(kDocumentBox, 5, 5, static_cast<std::int32_t>(std::lround(width)),
             static_cast<std::int32_t>(std::lround(height)));
}

bool OnCloseQuery() {
  if (!ReadDocument()) return true;  // an empty document closes without a question
  return !AskToSave();
}

void OnMainWindowDestroying() {
  StoreRecentFiles();
  const double remainder = text::call::remainder(text::call::second_of(text::call::now()), 3.0);
  if (std::fabs(remainder) <= 1e-7 && !settings().exit_page.empty()) {
    text::call::shell_execute(text::kVerbOpen, settings().exit_page.c_str());
  }
  settings().end_program(0);
}

void Undo() { send_to_document(message::kUndo); }
void Cut() { send_to_document(message::kCut); }
void Copy() { send_to_document(message::kCopy); }
void Paste() { send_to_document(message::kPaste); }
void SelectAll() { send_to_document(message::kSetSelection, 0, -1); }

void ToggleWordWrap() {
  const text::OwnedText document = ReadDocument();
  const bool modified = IsModified();
  const std::int32_t scroll_bars = call::read_int(kDocumentBox, property::kScrollBars);
  call::write_int(kDocumentBox, property::kScrollBars, scroll_bars == kWrapLines ? kNoWrap : kWrapLines);
  WriteDocument(document.get());
  // Writing the text back clears the edit control's flag; unsaved text must stay unsaved.
  if (modified) SetModified(true);
}

void ChooseFont() {
  forms::win32::FontRecord font{};
  font.size = 9;
  font.face = "宋体";
  call::write_int(kFileDialog, property::kDialogKind, kFontDialog);
  if (!call::open_common_dialog(kFileDialog)) return;
  font.bold = call::read_bool(kFileDialog, property::kBold);
  font.italic = call::read_bool(kFileDialog, property::kItalic);
  font.underline = call::read_bool(kFileDialog, property::kUnderline);
  font.strike_out = call::read_bool(kFileDialog, property::kStrikeOut);
  const text::OwnedText face = call::read_text(kFileDialog, property::kFaceName);
  font.face = face.get();
  font.size = call::read_int(kFileDialog, property::kPointSize);
  call::write_font(kDocumentBox, property::kFont, font);
  call::write_int(kDocumentBox, property::kTextColour, call::read_int(kFileDialog, property::kChosenColour));
}

}  // namespace quillet::editor

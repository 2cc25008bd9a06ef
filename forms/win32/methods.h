// The methods of windows and controls, called as commands through the calling frame with the
// unit as the first argument (a unit record: form id, unit id, type code). A method on a unit
// whose window does not exist is a run-time error.
#pragma once

#include <optional>

#include "forms/win32/property_service.h"
#include "text/call_frame.h"

namespace quillet::forms::win32 {

// form's window unit; [owner window]; [modal] -> logical: the form was loaded.
void LoadForm(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// window unit; [at once]: without it a close request is posted, with true the form is destroyed.
void DestroyForm(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// window unit -> integer size of the client area.
void ClientWidth(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
void ClientHeight(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// unit; [left], [top], [width], [height]: omitted, or -1 for width or height, keeps the old value.
void MoveUnit(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// unit; message; first parameter; second parameter -> the window's answer.
void SendUnitMessage(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// edit box; one or more values (each turned into text): for each, the caret goes to the end,
// is scrolled into view, and the text is inserted there without an undo record.
void AppendText(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// edit box; text; [caret at the end, default false]: the whole text is replaced as one edit
// that the box's undo takes back; the caret goes to the start, as after writing the content, or
// to the end, as after appending.
void ReplaceWholeText(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// common dialog -> logical: the user confirmed.
void OpenCommonDialog(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// printer; [use the print dialog, default true]; [show the progress window, default true];
// up to five more that this runtime ignores -> logical: a job was started.
void StartPrinting(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// printer; one or more values, each turned into text and printed as lines.
void PrintTextLines(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// printer: ends the last page and the job.
void EndPrinting(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// balloon tip; control to attach to; text; [icon index, -1 none]; [left, top, width, height of
// the sensitive area] -> logical: attached.
void SetBalloonTip(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// unit; [unit whose event bindings it shall use]. Without the second, the link is removed (for
// a form's window unit: every link of the form).
void LinkEvents(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);
// -> the unit that raised the running event; only inside an event handler.
void EventSender(text::ValueRecord* result, std::int32_t count, text::ValueRecord* args);

namespace call {
inline bool load_form(const UnitRef& form, std::optional<UnitRef> owner = {}, bool modal = false) {
  const text::ValueRecord owner_record = owner ? owner->record() : text::omitted();
  return text::bool_value(text::invoke(LoadForm, form.record(), owner_record, modal));
}
inline void destroy_form(const UnitRef& form, std::optional<bool> at_once = {}) {
  text::invoke(DestroyForm, form.record(), at_once);
}
inline std::int32_t client_width(const UnitRef& form) { return text::int_value(text::invoke(ClientWidth, form.record())); }
inline std::int32_t client_height(const UnitRef& form) {
  return text::int_value(text::invoke(ClientHeight, form.record()));
}
inline void move(const UnitRef& unit, std::optional<std::int32_t> left, std::optional<std::int32_t> top,
                 std::optional<std::int32_t> width = {}, std::optional<std::int32_t> height = {}) {
  text::invoke(MoveUnit, unit.record(), left, top, width, height);
}
inline std::int32_t send_message(const UnitRef& unit, std::int32_t message, std::int32_t first, std::int32_t second) {
  return text::int_value(text::invoke(SendUnitMessage, unit.record(), message, first, second));
}
template <class... Texts>
void append_text(const UnitRef& edit_box, const Texts&... texts) {
  text::invoke(AppendText, edit_box.record(), texts...);
}
inline void replace_whole_text(const UnitRef& edit_box, const char* text, bool caret_at_end = false) {
  text::invoke(ReplaceWholeText, edit_box.record(), text, caret_at_end);
}
inline void link_events(const UnitRef& unit, std::optional<UnitRef> target = {}) {
  const text::ValueRecord target_record = target ? target->record() : text::omitted();
  text::invoke(LinkEvents, unit.record(), target_record);
}
inline bool open_common_dialog(const UnitRef& dialog) {
  return text::bool_value(text::invoke(OpenCommonDialog, dialog.record()));
}
inline bool start_printing(const UnitRef& printer, std::optional<bool> use_dialog = {},
                           std::optional<bool> show_progress = {}) {
  return text::bool_value(text::invoke(StartPrinting, printer.record(), use_dialog, show_progress));
}
template <class... Values>
void print_text_lines(const UnitRef& printer, const Values&... values) {
  text::invoke(PrintTextLines, printer.record(), values...);
}
inline void end_printing(const UnitRef& printer) { text::invoke(EndPrinting, printer.record()); }
inline bool set_balloon_tip(const UnitRef& tip, const UnitRef& control, const char* text,
                            std::optional<std::int32_t> icon = {}) {
  return text::bool_value(text::invoke(SetBalloonTip, tip.record(), control.record(), text, icon));
}
UnitRef event_sender();

// The wait cursor while it lives: for work that keeps the message loop from running.
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  HCURSOR previous_;
};
}  // namespace call

}  // namespace quillet::forms::win32

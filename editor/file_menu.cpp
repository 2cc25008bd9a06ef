#include "editor/file_menu.h"

#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/recent_files.h"
#include "editor/units.h"
#include "forms/win32/methods.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;

// Shows the file dialog with the kind and title; the chosen path, or null when cancelled.
text::OwnedText AskForPath(std::int32_t kind, const char* title) {
  call::write_text(main_window::kCommonDialog, property::kDialogTitle, title);
  call::write_int(main_window::kCommonDialog, property::kDialogKind, kind);
  if (!call::open_common_dialog(main_window::kCommonDialog)) return nullptr;
  return call::read_text(main_window::kCommonDialog, property::kFileName);
}
}  // namespace

void NewDocument() {
  if (AskToSave()) return;
  WriteDocument(nullptr);
  SetTitle();
  SetModified(false);
  State().currentFileName.reset();
}

void OpenDocument() {
  if (AskToSave()) return;
  const text::OwnedText path = AskForPath(kOpenFileDialog, "请输入欲打开的文本文件名：");
  if (!path) return;
  if (LoadDocument(path.get())) AddRecentFile(path.get());
}

void SaveCommand() { SaveDocument(); }

void SaveAsCommand() {
  const text::OwnedText path = AskForPath(kSaveFileDialog, "请输入欲另存到的文本文件名：");
  if (path) SaveDocument(path.get());
}

void PrintDocument() {
  if (!call::start_printing(main_window::kPrinter)) return;
  const text::OwnedText document = ReadDocument();
  call::print_text_lines(main_window::kPrinter, document.get());
  call::end_printing(main_window::kPrinter);
}

void OpenRecentFile() {
  if (AskToSave()) return;
  const UnitRef sender = call::event_sender();
  for (int i = 0; i < 3; ++i) {
    const UnitRef& item = State().recentMenuItems[i];
    const text::OwnedText& slot = State().recentFiles[i];
    if (item.form_id == sender.form_id && item.unit_id == sender.unit_id && slot && *slot != '\0') {
      LoadDocument(slot.get());  // the list stays as it is, whatever the outcome
    }
  }
}

void ExitCommand() {
  if (AskToSave()) return;
  // Destroyed at once: its about-to-be-destroyed event stores the list and ends the program,
  // and no second question is asked.
  call::destroy_form(main_window::kWindow, true);
}

}  // namespace quillet::editor

#include "editor/file_commands.h"

#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/recent_files.h"
#include "editor/units.h"
#include "forms/win32/methods.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;

// Shows the file dialog with the kind and title; the chosen path, or null when cancelled.
text::OwnedText ask_for_path(std::int32_t kind, const char* title) {
  call::write_text(kFileDialog, property::kDialogTitle, title);
  call::write_int(kFileDialog, property::kDialogKind, kind);
  if (!call::open_common_dialog(kFileDialog)) return nullptr;
  return call::read_text(kFileDialog, property::kFileName);
}
}  // namespace

void NewDocument() {
  if (AskToSave()) return;
  WriteDocument(nullptr);
  SetTitle();
  SetModified(false);
  state().currentFileName.reset();
}

void OpenDocument() {
  if (AskToSave()) return;
  const text::OwnedText path = ask_for_path(kOpenFileDialog, "请输入欲打开的文本文件名：");
  if (!path) return;
  if (LoadDocument(path.get())) AddRecentFile(path.get());
}

void SaveCommand() { SaveDocument(); }

void SaveAsCommand() {
  const text::OwnedText path = ask_for_path(kSaveFileDialog, "请输入欲另存到的文本文件名：");
  if (path) SaveDocument(path.get());
}

void PrintDocument() {
  if (!call::start_printing(kPrinter)) return;
  const text::OwnedText document = ReadDocument();
  call::print_text_lines(kPrinter, document.get());
  call::end_printing(kPrinter);
}

void OpenRecentFile() {
  if (AskToSave()) return;
  const UnitRef sender = call::event_sender();
  for (int i = 0; i < 3; ++i) {
    const UnitRef& item = state().recentMenuItems[i];
    const text::OwnedText& slot = state().recentFiles[i];
    if (item.form_id == sender.form_id && item.unit_id == sender.unit_id && slot && *slot != '\0') {
      LoadDocument(slot.get());  // the list stays as it is, whatever the outcome
    }
  }
}

void ExitCommand() {
  if (AskToSave()) return;
  // Destroyed at once: its about-to-be-destroyed event stores the list and ends the program,
  // and no second question is asked.
  call::destroy_form(kMainWindow, true);
}

}  // namespace quillet::editor

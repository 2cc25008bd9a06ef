#include "editor/document.h"

#include <string>

#include "editor/app_state.h"
#include "editor/recent_files.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "text/dialogs.h"
#include "text/files.h"
#include "text/text_value.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;

constexpr char kProgramName[] = "Quillet";
constexpr std::int32_t kErrorBox = 0x10, kYesNoCancelQuestion = 0x23;

void show_error(const char* message) { text::call::message_box(message, kErrorBox, "错误"); }

}  // namespace

text::OwnedText ReadDocument() { return call::read_text(kDocumentBox, property::kContent); }

void WriteDocument(const char* text) { call::write_text(kDocumentBox, property::kContent, text); }

bool IsModified() { return call::send_message(kDocumentBox, message::kGetModify, 0, 0) != 0; }

void SetModified(bool value) { call::send_message(kDocumentBox, message::kSetModify, value ? 1 : 0, 0); }

void SetTitle(const char* path) {
  const std::string title = path != nullptr && *path != '\0' ? std::string(kProgramName) + " - " + path : kProgramName;
  call::write_text(kMainWindow, property::kTitle, title.c_str());
}

bool AskToSave() {
  if (!IsModified()) return false;
  switch (text::call::message_box("文件已经被修改，是否保存？", kYesNoCancelQuestion, "询问")) {
    case text::kPressedCancel:
      return true;
    case text::kPressedYes:
      // A save that did not happen keeps the document: the command must not discard it.
      return SaveDocument() != SaveOutcome::Saved;
    default:
      return false;
  }
}

bool LoadDocument(const char* path) {
  // These run before the file is opened, so a failed load leaves an empty untitled document.
  WriteDocument(nullptr);
  SetModified(false);
  state().currentFileName.reset();
  const std::int32_t file = text::call::open_file(path, text::kReadExisting);
  if (file == 0) {
    show_error("打开文件失败！");
    SetTitle();
    return false;
  }
  const text::OwnedText content = text::call::read_file_text(file);
  text::call::close_file(file);
  WriteDocument(content.get());
  SetModified(false);
  state().currentFileName.reset(text::copy_text(path));
  SetTitle(path);
  return true;
}

SaveOutcome SaveDocument(const char* path) {
  text::OwnedText target(text::copy_text(path != nullptr ? path : state().currentFileName.get()));
  if (!target) {
    call::write_text(kFileDialog, property::kDialogTitle, "请输入欲保存到的文本文件名：");
    call::write_int(kFileDialog, property::kDialogKind, kSaveFileDialog);
    if (!call::open_common_dialog(kFileDialog)) return SaveOutcome::Cancelled;
    target = call::read_text(kFileDialog, property::kFileName);
  }
  const text::OwnedText document = ReadDocument();
  // The file is replaced only once the new bytes are written, and the document counts as
  // saved only then: a failed save must neither damage the file nor make the text look saved.
  if (!target || !text::call::replace_file_content(target.get(), text::as_argument(document.get()))) {
    show_error("保存文件失败！");
    return SaveOutcome::Failed;
  }
  SetModified(false);
  state().currentFileName.reset(text::copy_text(target.get()));
  SetTitle(target.get());
  AddRecentFile(target.get());
  return SaveOutcome::Saved;
}

}  // namespace quillet::editor

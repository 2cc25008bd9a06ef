#include "editor/document.h"

#include <string>

#include "editor/app_state.h"
#include "editor/recent_files.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "text/dialogs.h"
#include "text/files.h"
#include "text/search.h"
#include "text/text_value.h"
#include "tools/limits.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;

constexpr char kProgramName[] = "Quillet";
constexpr UnitRef kDocument = main_window::kDocument;

void ShowError(const char* message) { text::call::message_box(message, kErrorBox, "错误"); }

std::string TooLargeMessage(const char* path, std::int64_t length) {
  return "文件“" + std::string(path) + "”有 " + std::to_string(length) + " 个字节，超过了本程序能编辑的最大文档 " +
         std::to_string(tools::kLargestDocument) + " 个字节（256 MB），没有打开。";
}

}  // namespace

text::OwnedText ReadDocument() { return call::read_text(kDocument, property::kContent); }

void WriteDocument(const char* text) { call::write_text(kDocument, property::kContent, text); }

tools::ByteRange DocumentSelection() {
  const std::int32_t start = call::read_int(kDocument, property::kSelectionStart);
  const std::int32_t length = call::read_int(kDocument, property::kSelectionLength);
  return {static_cast<std::size_t>(start), static_cast<std::size_t>(length)};
}

void SelectInDocument(std::size_t start, std::size_t length) {
  // Start first, then length: each write selects and scrolls the caret into view.
  call::write_int(kDocument, property::kSelectionStart, static_cast<std::int32_t>(start));
  call::write_int(kDocument, property::kSelectionLength, static_cast<std::int32_t>(length));
}

std::int32_t SendToDocument(std::int32_t message, std::int32_t first, std::int32_t second) {
  return call::send_message(kDocument, message, first, second);
}

void PlaceDocument(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
  call::move(kDocument, left, top, width, height);
}

std::int32_t DocumentScrollBars() { return call::read_int(kDocument, property::kScrollBars); }

void SetDocumentScrollBars(std::int32_t scroll_bars) { call::write_int(kDocument, property::kScrollBars, scroll_bars); }

void SetDocumentFont(const forms::win32::FontRecord& font, std::int32_t text_colour) {
  call::write_font(kDocument, property::kFont, font);
  call::write_int(kDocument, property::kTextColour, text_colour);
}

std::string CharactersLostIn(const UnitRef& edit_box) {
  const text::OwnedText lost = call::read_text(edit_box, property::kLostCharacters);
  return lost ? lost.get() : "";
}

bool MayLoseCharacters(const char* where, const std::string& lost, const char* consequence) {
  if (lost.empty()) return true;
  const std::string message = std::string(where) + "中有 GBK 无法表示的字符：" + lost + "。" + consequence;
  return text::call::message_box(message.c_str(), kOkCancelQuestion, "询问") == text::kPressedOk;
}

bool TryApplyToDocument(const RefusingTool& tool, CaretAfter caret) {
  if (!MayLoseCharacters("文档", CharactersLostIn(kDocument), "经过这个工具处理，它们将变成“?”。\r\n\r\n仍然继续吗？")) {
    return true;
  }
  const call::BusyCursor busy;
  const text::OwnedText document = ReadDocument();
  const std::string_view before = document ? std::string_view(document.get()) : std::string_view();
  const std::optional<std::string> after = tool(before);
  if (!after || after->size() > tools::kLargestDocument) return false;  // past the largest document too
  if (*after == before) return true;
  // Not a content write: that would clear the edit box's undo and its modified flag, and the
  // user's unsaved typing would then close without a question.
  call::replace_whole_text(kDocument, after->c_str(), caret == CaretAfter::End);
  SetModified(true);
  return true;
}

bool ApplyToDocument(const DocumentTool& tool, CaretAfter caret) {
  if (TryApplyToDocument(tool, caret)) return true;
  ShowError("处理后的文本过大（超过256MB），文档未作改动。");
  return false;
}

bool IsModified() { return SendToDocument(message::kGetModify) != 0; }

void SetModified(bool value) { SendToDocument(message::kSetModify, value ? 1 : 0); }

void SetTitle(const char* path) {
  const std::string title = path != nullptr && *path != '\0' ? std::string(kProgramName) + " - " + path : kProgramName;
  call::write_text(main_window::kWindow, property::kTitle, title.c_str());
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
  const std::int32_t file = text::call::open_file(path, text::kReadExisting);
  const std::int64_t length = file != 0 ? text::call::file_length(file) : -1;
  if (length > static_cast<std::int64_t>(tools::kLargestDocument)) {
    text::call::close_file(file);
    ShowError(TooLargeMessage(path, length).c_str());
    return false;  // refused before anything changed: the document stays as it was
  }
  // A file that cannot be opened leaves an empty untitled document.
  WriteDocument(nullptr);
  SetModified(false);
  State().currentFileName.reset();
  State().shortReadFile.reset();
  if (file == 0) {
    ShowError("打开文件失败！");
    SetTitle();
    return false;
  }
  const text::OwnedText content = text::call::read_file_text(file);
  text::call::close_file(file);
  WriteDocument(content.get());
  SetModified(false);
  State().currentFileName.reset(text::copy_text(path));
  SetTitle(path);
  // The text ends at the first 0x00 or 0x1A: say so when that left part of the file unread.
  const auto read = static_cast<std::int64_t>(text::text_length(content.get()));
  if (read < length) {
    State().shortReadFile.reset(text::copy_text(path));
    State().shortReadFileLength = length;
    State().shortReadBytes = read;
    const std::string message = "文件“" + std::string(path) + "”共 " + std::to_string(length) +
                                " 个字节，其中有文本结束符（0x00 或 0x1A），只读入了它之前的 " + std::to_string(read) +
                                " 个字节。保存回这个文件之前会先询问。";
    text::call::message_box(message.c_str(), kInformationBox, "提示");
  }
  return true;
}

// Whether the path leads to the file last read short, however it is spelled.
bool IsShortReadFile(const char* path) {
  const char* short_read = State().shortReadFile.get();
  return short_read != nullptr && text::call::same_file(short_read, path);
}

// Saving over a file that was read short would cut off what was never read: asked first.
// True when the save may go on.
bool MayReplaceShortReadFile(const char* target) {
  if (!IsShortReadFile(target)) return true;
  const std::string message = "文件“" + std::string(target) + "”共 " + std::to_string(State().shortReadFileLength) +
                              " 个字节，打开时只读入了前 " + std::to_string(State().shortReadBytes) +
                              " 个字节。保存将用当前文档替换整个文件，之后的内容将会丢失。\r\n\r\n确实要保存吗？";
  return text::call::message_box(message.c_str(), kOkCancelQuestion, "询问") == text::kPressedOk;
}

SaveOutcome SaveDocument(const char* path) {
  text::OwnedText target(text::copy_text(path != nullptr ? path : State().currentFileName.get()));
  if (!target) {
    call::write_text(main_window::kCommonDialog, property::kDialogTitle, "请输入欲保存到的文本文件名：");
    call::write_int(main_window::kCommonDialog, property::kDialogKind, kSaveFileDialog);
    if (!call::open_common_dialog(main_window::kCommonDialog)) return SaveOutcome::Cancelled;
    target = call::read_text(main_window::kCommonDialog, property::kFileName);
  }
  if (target && !MayReplaceShortReadFile(target.get())) return SaveOutcome::Cancelled;
  if (!MayLoseCharacters("文档", CharactersLostIn(kDocument), "保存后，它们在文件中将变成“?”。\r\n\r\n仍然保存吗？")) {
    return SaveOutcome::Cancelled;
  }
  const text::OwnedText document = ReadDocument();
  // The file is replaced only once the new bytes are written, and the document counts as
  // saved only then: a failed save must neither damage the file nor make the text look saved.
  if (!target || !text::call::replace_file_content(target.get(), text::as_argument(document.get()))) {
    const text::OwnedText why = text::call::last_replace_problem();
    ShowError(why ? (std::string("保存文件失败！\r\n\r\n") + why.get()).c_str() : "保存文件失败！");
    return SaveOutcome::Failed;
  }
  SetModified(false);
  if (IsShortReadFile(target.get())) State().shortReadFile.reset();  // the file now holds the whole document
  State().currentFileName.reset(text::copy_text(target.get()));
  SetTitle(target.get());
  AddRecentFile(target.get());
  return SaveOutcome::Saved;
}

}  // namespace quillet::editor

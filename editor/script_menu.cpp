#include "editor/script_menu.h"

#include "editor/document.h"
#include "editor/units.h"
#include "text/conversion.h"
#include "text/dialogs.h"
#include "text/files.h"
#include "text/shell.h"

namespace quillet::editor {
namespace {

// Writes the document's bytes as they stand (no terminator, byte-order mark or line-end change)
// over the script file and hands the file to the shell. When the file cannot be written
// completely nothing runs: what is there is an older script, or part of this one.
void RunDocumentAs(ScriptType type) {
  const std::string path = ScriptPath(type);
  const text::OwnedText document = ReadDocument();
  const text::OwnedByteArray bytes = text::call::to_bytes(text::text_record(document.get()));
  if (!text::call::write_file(path.c_str(), bytes.get())) {
    const std::string message = "无法写入脚本文件“" + path + "”，脚本没有运行。";
    text::call::message_box(message.c_str(), kErrorBox, "错误");
    return;
  }
  text::call::shell_execute(text::kVerbOpen, path.c_str());
}

}  // namespace

const char* ScriptFileName(ScriptType type) { return type == ScriptType::Vbs ? "\\ls.vbs" : "\\ls.bat"; }

// The folder ends in a backslash and the name begins with one; the system reads the two as one.
std::string ScriptPath(ScriptType type) {
  const text::OwnedText folder = text::call::special_folder(text::kFolderTemporary);
  return std::string(folder ? folder.get() : "") + ScriptFileName(type);
}

void RunAsVbs() { RunDocumentAs(ScriptType::Vbs); }
void RunAsBatch() { RunDocumentAs(ScriptType::Batch); }

}  // namespace quillet::editor

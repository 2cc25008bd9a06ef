// The document and the procedures every command relies on: the modified flag, the title, the
// question before discarding changes, loading and saving.
#pragma once

#include <string_view>

#include "text/call_frame.h"

namespace quillet::editor {

// The document is the edit box's content; null for the empty text.
text::OwnedText ReadDocument();
void WriteDocument(const char* text);

bool IsModified();
void SetModified(bool value = true);

// "Quillet" for no path, else "Quillet - " + path.
void SetTitle(const char* path = nullptr);

// Asks "文件已经被修改，是否保存？" when the document is modified. True when the command that
// asked must stop and leave the document alone: the user cancelled, or chose to save and the
// save did not happen.
bool AskToSave();

// Loads the file into the document; true when it was read. A failure leaves an empty
// untitled document and says "打开文件失败！".
bool LoadDocument(const char* path);

enum class SaveOutcome { Saved, Cancelled, Failed };
// Saves to the path, or to the current file, or to a file asked for when the document is
// untitled. The file is replaced only once the new bytes are safely written; on failure it is
// untouched, "保存文件失败！" is shown and the document stays marked modified.
SaveOutcome SaveDocument(const char* path = nullptr);

}  // namespace quillet::editor

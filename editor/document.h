// The document: the main window's edit box, which no other part of the editor touches. Its
// text, its selection, its modified flag and the messages the Edit menu sends; the title; the
// question before discarding changes; loading and saving; and the one way a text tool's result
// reaches the document.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "editor/units.h"
#include "forms/win32/property_service.h"
#include "text/call_frame.h"
#include "tools/find.h"

namespace quillet::editor {

// The document is the edit box's content; null for the empty text.
text::OwnedText ReadDocument();
void WriteDocument(const char* text);

// The selection in bytes, and selecting length bytes from start (the caret scrolled into view).
tools::ByteRange DocumentSelection();
void SelectInDocument(std::size_t start, std::size_t length);

// Sends an edit-control message to the document; its answer.
std::int32_t SendToDocument(std::int32_t message, std::int32_t first = 0, std::int32_t second = 0);

// The box's place in the main window; -1 for width or height keeps that value.
void PlaceDocument(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
// Word wrap is the box's scroll-bar setting (kWrapLines or kNoWrap); a change creates the
// box's window again.
std::int32_t DocumentScrollBars();
void SetDocumentScrollBars(std::int32_t scroll_bars);
void SetDocumentFont(const forms::win32::FontRecord& font, std::int32_t text_colour);

// A whole-document tool: the document's bytes in, the new document out, or none when the tool
// refuses (its result would be too large, its pattern too complex): the document then stays as
// it is. A tool that never refuses returns its string as it is.
using DocumentTool = std::function<std::optional<std::string>(std::string_view document)>;
using RefusingTool = DocumentTool;

enum class CaretAfter { Start, End };

// Runs the tool over the document and puts its result in place as one write, which one Undo
// takes back; the document is then modified and the caret at its start (or end). A result
// equal to the document writes nothing, so the caret, the scroll position, what Undo would do
// and the modified flag all stay. The wait cursor shows until the document is updated. A tool
// that refuses, or whose result is larger than the largest document, is reported as such
// ("处理后的文本过大（超过256MB），文档未作改动。") and the result is false.
bool ApplyToDocument(const DocumentTool& tool, CaretAfter caret = CaretAfter::Start);
// The same without the report, for a tool whose refusal its caller explains; false when it
// refused, or its result is larger than the largest document (tools/limits.h). A document holding characters that
// reading it would turn into "?" asks first; when the user declines, nothing changes and the
// result is true (there is no refusal to report).
bool TryApplyToDocument(const RefusingTool& tool, CaretAfter caret = CaretAfter::Start);

// The characters that reading an edit box would turn into "?", as "U+D55C、U+1F600"; empty
// when there are none, as there normally are not: the boxes keep such characters out.
std::string CharactersLostIn(const UnitRef& edit_box);
// When a text would lose characters (lost not empty), tells which and what follows
// (consequence) and asks whether to go on; true when it may.
bool MayLoseCharacters(const char* where, const std::string& lost, const char* consequence);

bool IsModified();
void SetModified(bool value = true);

// "Quillet" for no path, else "Quillet - " + path.
void SetTitle(const char* path = nullptr);

// Asks "文件已经被修改，是否保存？" when the document is modified. True when the command that
// asked must stop and leave the document alone: the user cancelled, or chose to save and the
// save did not happen.
bool AskToSave();

// Loads the file into the document; true when it was read. A file that cannot be opened
// leaves an empty untitled document and says "打开文件失败！"; a file larger than the largest
// document (tools/limits.h) is refused with its size and the limit, and the document stays as
// it was. When the text ends at a 0x00 or 0x1A before the end of the file, the user is told how
// much was read, and a later save over that file asks first.
bool LoadDocument(const char* path);

enum class SaveOutcome { Saved, Cancelled, Failed };
// Saves to the path, or to the current file, or to a file asked for when the document is
// untitled. The file is replaced only once the new bytes are safely written; on failure it is
// untouched, "保存文件失败！" is shown and the document stays marked modified. Saving over a file
// that was read short asks first; Cancel leaves the file as it is (Cancelled).
SaveOutcome SaveDocument(const char* path = nullptr);

}  // namespace quillet::editor

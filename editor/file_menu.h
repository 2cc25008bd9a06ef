// The File menu: New, Open, Save, Save as, Print, the recent files and Exit.
#pragma once

namespace quillet::editor {

void NewDocument();
void OpenDocument();
void SaveCommand();
void SaveAsCommand();
void PrintDocument();
void OpenRecentFile();
void ExitCommand();

}  // namespace quillet::editor

// The menu "脚本": the document run as a VBScript or as a batch file by the shell's program for
// the type. The script file is fixed per type in the temporary-files folder and replaced on
// every run; the document, its name, the title and the modified flag are left alone.
#pragma once

#include <string>

namespace quillet::editor {

void RunAsVbs();    // "运行VBS"
void RunAsBatch();  // "运行BAT"

// The script file of a type: the temporary-files folder + "\ls.vbs" or "\ls.bat".
enum class ScriptType { Vbs, Batch };
const char* ScriptFileName(ScriptType type);
std::string ScriptPath(ScriptType type);

}  // namespace quillet::editor

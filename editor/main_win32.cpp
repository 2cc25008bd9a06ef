// Quillet's entry point. An optional first argument names a file to open at start.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "editor/application.h"
#include "runtime/win32_text.h"
#include "text/win32_paths.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::string file;
  // Made full now: the runtime makes the program's folder current before the file is opened,
  // and a name typed relative to the folder the user started in must still mean that file.
  if (arguments != nullptr && count > 1) file = quillet::runtime::win32::narrow(quillet::text::full_path(arguments[1]));
  if (arguments != nullptr) LocalFree(arguments);
  return quillet::editor::RunEditor(file.c_str());
}

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "runtime/win32_text.h"
#include "text/shell.h"

namespace quillet::text {
namespace {

using runtime::win32::narrow;
using runtime::win32::widen;

const wchar_t* verb_name(std::optional<std::int32_t> verb) {
  static const wchar_t* const names[] = {L"edit", L"explore", L"find", L"open", L"print"};
  return verb && *verb >= 1 && *verb <= 5 ? names[*verb - 1] : nullptr;
}

int show_command(std::int32_t count, const ValueRecord* args) {
  static const int states[] = {SW_HIDE, SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNA, SW_MINIMIZE};
  const std::optional<std::int32_t> state = count == 5 ? optional_int(count, args, 4) : std::nullopt;
  return state && *state >= 1 && *state <= 6 ? states[*state - 1] : SW_SHOWNORMAL;
}

std::wstring folder_path(std::int32_t kind) {
  static const int csidl[] = {CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,
                              CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP, CSIDL_APPDATA};
  wchar_t path[MAX_PATH + 1] = {};
  bool found = false;
  if (kind >= 1 && kind <= 8) {
    found = SHGetSpecialFolderPathW(nullptr, path, csidl[kind - 1], FALSE) != FALSE;
  } else if (kind == 9) {
    found = GetWindowsDirectoryW(path, MAX_PATH) != 0;
  } else if (kind == 10) {
    found = GetSystemDirectoryW(path, MAX_PATH) != 0;
  } else if (kind == 11) {
    const DWORD length = GetTempPathW(MAX_PATH, path);
    found = length != 0 && length <= MAX_PATH;
  }
  if (!found || path[0] == L'\0') return {};
  std::wstring folder(path);
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

}  // namespace

void ShellExecute(ValueRecord*, std::int32_t count, ValueRecord* args) {
  const std::wstring target = widen(text_argument(args[1]));
  const ValueRecord* parameters = given_argument(count, args, 2);
  const ValueRecord* folder = given_argument(count, args, 3);
  const std::wstring parameter_text = parameters != nullptr ? widen(text_argument(*parameters)) : std::wstring();
  const std::wstring folder_text = folder != nullptr ? widen(text_argument(*folder)) : std::wstring();
  ShellExecuteW(nullptr, verb_name(optional_int(count, args, 0)), target.c_str(),
                parameters != nullptr ? parameter_text.c_str() : nullptr, folder_text.c_str(), show_command(count, args));
}

void SpecialFolder(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_text(result, make_text(narrow(folder_path(int_value(args[0])))));
}

}  // namespace quillet::text

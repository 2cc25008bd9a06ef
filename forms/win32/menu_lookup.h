// Finds a menu command by its caption, as a user finds the item: for tests and benchmarks that
// drive a form through its menu bar.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/win32_text.h"

namespace quillet::forms::win32 {

// The command number of the item of the window's menu bar (submenus included) whose caption
// (before any shortcut text) is the code page 936 text, or else of the first whose caption
// starts with it; 0 when there is none.
inline UINT menu_command(HWND window, const char* caption) {
  const std::wstring wanted = runtime::win32::widen(caption);
  UINT starting_with = 0;
  std::vector<HMENU> menus{GetMenu(window)};
  while (!menus.empty()) {
    const HMENU menu = menus.back();
    menus.pop_back();
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      if (HMENU sub = GetSubMenu(menu, i)) {
        menus.push_back(sub);
        continue;
      }
      wchar_t text[256] = {};
      GetMenuStringW(menu, i, text, 256, MF_BYPOSITION);
      const std::wstring shown(text);
      if (shown.substr(0, shown.find(L'\t')) == wanted) return GetMenuItemID(menu, i);
      if (starting_with == 0 && shown.rfind(wanted, 0) == 0) starting_with = GetMenuItemID(menu, i);
    }
  }
  return starting_with;
}

}  // namespace quillet::forms::win32

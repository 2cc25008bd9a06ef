// Finds a menu command by its caption, as a user finds the item: for tests and benchmarks that
// drive a form through its menu bar.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "runtime/win32_text.h"

namespace quillet::forms::win32 {

// The command number of the first item of the window's menu bar (submenus included) whose
// caption starts with the code page 936 text; 0 when there is none.
inline UINT menu_command(HWND window, const char* caption) {
  const std::wstring wanted = runtime::win32::widen(caption);
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
      if (std::wstring(text).rfind(wanted, 0) == 0) return GetMenuItemID(menu, i);
    }
  }
  return 0;
}

}  // namespace quillet::forms::win32

// Real Win32 menus and accelerator tables from a form's platform-neutral menu description.
#pragma once

#include <windows.h>

#include "forms/menu_walk.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {

// A menu bar owns every pull-down under it until SetMenu hands it to a window.
using MenuBar = runtime::win32::UniqueWin32<HMENU, DestroyMenu>;
using AcceleratorTable = runtime::win32::UniqueWin32<HACCEL, DestroyAcceleratorTable>;

// The menu bar of a form, or an empty MenuBar when the form has no visible items.
MenuBar build_menu_bar(const MenuDescription& menu);
// The form's accelerators, or an empty table when it has none.
AcceleratorTable build_accelerators(const MenuDescription& menu);

}  // namespace quillet::forms::win32

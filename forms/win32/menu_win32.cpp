#include "forms/win32/menu_win32.h"

#include <vector>

#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

void append_entries(HMENU menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    if (entry.separator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (entry.disabled ? MF_GRAYED : 0u) | (entry.checked ? MF_CHECKED : 0u);
    UINT_PTR id = entry.command;
    if (!entry.children.empty()) {
      HMENU submenu = CreatePopupMenu();
      append_entries(submenu, entry.children);
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(submenu);
    }
    AppendMenuW(menu, flags, id, runtime::win32::widen(entry.caption).c_str());
  }
}

}  // namespace

MenuBar build_menu_bar(const MenuDescription& menu) {
  if (menu.bar.empty()) return MenuBar();
  MenuBar bar(CreateMenu());
  append_entries(bar.get(), menu.bar);
  return bar;
}

AcceleratorTable build_accelerators(const MenuDescription& menu) {
  if (menu.accelerators.empty()) return AcceleratorTable();
  std::vector<ACCEL> table;
  for (const Accelerator& accelerator : menu.accelerators) {
    table.push_back({accelerator.modifiers, accelerator.virtual_key, static_cast<WORD>(accelerator.command)});
  }
  return AcceleratorTable(CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
}

}  // namespace quillet::forms::win32

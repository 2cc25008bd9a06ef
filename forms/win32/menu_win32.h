// Real Win32 menus and accelerator tables from a form's platform-neutral menu description.
#pragma once

#include <windows.h>

#include "forms/menu_walk.h"

namespace quillet::forms::win32 {

// Owns a menu bar (and every pull-down under it) until it is handed to a window.
class MenuBar {
 public:
  MenuBar() = default;
  explicit MenuBar(HMENU menu) : menu_(menu) {}
  ~MenuBar() {
    if (menu_ != nullptr) DestroyMenu(menu_);
  }
  MenuBar(MenuBar&& other) noexcept : menu_(other.release()) {}
  MenuBar& operator=(MenuBar&& other) noexcept {
    if (this != &other) {
      if (menu_ != nullptr) DestroyMenu(menu_);
      menu_ = other.release();
    }
    return *this;
  }
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

  HMENU get() const { return menu_; }
  // SetMenu makes the window the owner: it destroys the menu with itself.
  HMENU release() {
    HMENU menu = menu_;
    menu_ = nullptr;
    return menu;
  }

 private:
  HMENU menu_ = nullptr;
};

class AcceleratorTable {
 public:
  AcceleratorTable() = default;
  explicit AcceleratorTable(HACCEL table) : table_(table) {}
  ~AcceleratorTable() {
    if (table_ != nullptr) DestroyAcceleratorTable(table_);
  }
  AcceleratorTable(AcceleratorTable&& other) noexcept : table_(other.table_) { other.table_ = nullptr; }
  AcceleratorTable& operator=(AcceleratorTable&& other) noexcept {
    if (this != &other) {
      if (table_ != nullptr) DestroyAcceleratorTable(table_);
      table_ = other.table_;
      other.table_ = nullptr;
    }
    return *this;
  }
  AcceleratorTable(const AcceleratorTable&) = delete;
  AcceleratorTable& operator=(const AcceleratorTable&) = delete;
  HACCEL get() const { return table_; }

 private:
  HACCEL table_ = nullptr;
};

// The menu bar of a form, or an empty MenuBar when the form has no visible items.
MenuBar build_menu_bar(const MenuDescription& menu);
// The form's accelerators, or an empty table when it has none.
AcceleratorTable build_accelerators(const MenuDescription& menu);

}  // namespace quillet::forms::win32

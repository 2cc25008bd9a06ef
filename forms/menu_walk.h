// Turns a form's run of menu item records into a platform-neutral menu: the menu bar with its
// pull-downs and submenus, a command number per item, and the accelerator table.
//
// Command numbers count from 20000 in walk order; a hidden item (and everything under it) is
// left out but still consumes its numbers, so later items keep stable numbers. An item with a
// shortcut shows a tab and the key's name after its caption and gets an accelerator.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form_block.h"

namespace quillet::forms {

inline constexpr std::uint32_t kFirstMenuCommand = 20000;

// Accelerator modifier bits and virtual keys, as Win32 spells them.
inline constexpr std::uint8_t kVirtualKey = 0x01;
inline constexpr std::uint8_t kShift = 0x04;
inline constexpr std::uint8_t kControl = 0x08;

struct ShortcutKey {
  std::string name;           // "Ctrl+N", "F9", "Ins"
  std::uint8_t modifiers;     // kVirtualKey plus kControl / kShift
  std::uint16_t virtual_key;  // 'A'-'Z', VK_F1 (0x70)..., VK_INSERT, VK_DELETE
};

// The shortcut table: 1-26 Ctrl+A..Z, 27-38 F1..F12, 39-50 Ctrl+F1.., 51-62 Shift+F1..,
// 63-74 Ctrl+Shift+F1.., 75 Ins, 76 Del; anything else is no key.
std::optional<ShortcutKey> shortcut_key(std::uint32_t index);

struct MenuEntry {
  std::uint32_t unit_id = 0;
  std::uint32_t command = 0;
  std::string caption;  // with "\t" and the key name when it has a shortcut
  bool separator = false;
  bool disabled = false;
  bool checked = false;
  std::vector<MenuEntry> children;  // a pull-down or submenu when not empty
};

struct Accelerator {
  std::uint8_t modifiers;
  std::uint16_t virtual_key;
  std::uint32_t command;
  bool operator==(const Accelerator&) const = default;
};

struct MenuDescription {
  std::vector<MenuEntry> bar;
  std::vector<Accelerator> accelerators;
  // The unit behind a command number, 0 when the number is not this form's.
  std::vector<std::uint32_t> unit_of_command;  // index: command - kFirstMenuCommand
  std::uint32_t unit_for(std::uint32_t command) const;
};

MenuDescription walk_menu(const FormRecord& form);

}  // namespace quillet::forms

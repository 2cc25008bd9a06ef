#include "forms/menu_walk.h"

namespace quillet::forms {
namespace {

constexpr std::uint16_t kVkF1 = 0x70;
constexpr std::uint16_t kVkInsert = 0x2D;
constexpr std::uint16_t kVkDelete = 0x2E;

struct Item {
  const UnitRecord* unit;
  const MenuItemRecord* record;
  std::uint32_t command;
};

// Builds the entries of one level from items[i] on, stopping at an item of a lower level.
std::vector<MenuEntry> build_level(const std::vector<Item>& items, std::size_t& i, std::uint32_t level,
                                   std::vector<Accelerator>& accelerators) {
  std::vector<MenuEntry> entries;
  while (i < items.size() && items[i].record->level >= level) {
    const Item& item = items[i++];
    const bool opens_submenu = i < items.size() && items[i].record->level > item.record->level;
    std::vector<MenuEntry> children;
    if (opens_submenu) children = build_level(items, i, items[i].record->level, accelerators);
    if (item.record->hidden()) continue;  // its number (and its children's) stay used

    MenuEntry entry;
    entry.unit_id = item.unit->id;
    entry.command = item.command;
    entry.caption = item.record->caption;
    entry.separator = item.record->caption == "-";
    entry.disabled = item.record->disabled();
    entry.checked = item.record->checked();
    entry.children = std::move(children);
    if (const std::optional<ShortcutKey> key = shortcut_key(item.record->shortcut)) {
      entry.caption += "\t" + key->name;
      accelerators.push_back({key->modifiers, key->virtual_key, item.command});
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace

std::optional<ShortcutKey> shortcut_key(std::uint32_t index) {
  if (index >= 1 && index <= 26) {
    const char letter = static_cast<char>('A' + index - 1);
    return ShortcutKey{std::string("Ctrl+") + letter, kVirtualKey | kControl, static_cast<std::uint16_t>(letter)};
  }
  if (index >= 27 && index <= 74) {
    static const char* const prefixes[] = {"", "Ctrl+", "Shift+", "Ctrl+Shift+"};
    static const std::uint8_t modifiers[] = {0, kControl, kShift, kControl | kShift};
    const std::uint32_t group = (index - 27) / 12;
    const std::uint32_t function = (index - 27) % 12;
    return ShortcutKey{prefixes[group] + std::string("F") + std::to_string(function + 1),
                       static_cast<std::uint8_t>(kVirtualKey | modifiers[group]),
                       static_cast<std::uint16_t>(kVkF1 + function)};
  }
  if (index == 75) return ShortcutKey{"Ins", kVirtualKey, kVkInsert};
  if (index == 76) return ShortcutKey{"Del", kVirtualKey, kVkDelete};
  return std::nullopt;
}

std::uint32_t MenuDescription::unit_for(std::uint32_t command) const {
  if (command < kFirstMenuCommand || command - kFirstMenuCommand >= unit_of_command.size()) return 0;
  return unit_of_command[command - kFirstMenuCommand];
}

MenuDescription walk_menu(const FormRecord& form) {
  std::vector<Item> items;
  MenuDescription menu;
  for (const UnitRecord& unit : form.units) {
    if (const MenuItemRecord* record = unit.menu_item()) {
      const auto command = kFirstMenuCommand + static_cast<std::uint32_t>(items.size());
      items.push_back({&unit, record, command});
      menu.unit_of_command.push_back(unit.id);
    }
  }
  std::size_t i = 0;
  menu.bar = build_level(items, i, 0, menu.accelerators);
  return menu;
}

}  // namespace quillet::forms

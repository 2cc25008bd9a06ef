// The form description block: every form of the program with its units (the form's own
// window, its controls, its menu items) and their event bindings, as one byte block.
//
// Layout: the form table (a counted blob of n form ids and n placeholder words), then n form
// records. A form record holds two words, two counted strings, the unit count m and a counted
// blob with m unit ids, m offsets and the unit records (each a 32-bit length and that many
// bytes). A unit record starts with the common head (type code, shared-events unit, four
// reserved words, the name and the remark as terminated strings), followed by the menu item
// fields or by the window/control fields and the type's property block.
//
// Texts are code page 936 bytes. Handler words are relative to the handler base; 0xFFFFFFFF
// means no handler and is read as an empty optional.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quillet::forms {

inline constexpr std::uint32_t kNoHandler = 0xFFFFFFFF;

enum class UnitKind : std::uint8_t { Window = 0x06, Control = 0x16, MenuItem = 0x26 };
inline UnitKind unit_kind(std::uint32_t unit_id) { return static_cast<UnitKind>(unit_id >> 24); }

using Handler = std::optional<std::uint32_t>;  // relative to the handler base

struct MenuItemRecord {
  std::uint32_t shortcut = 0;  // index into the shortcut table, 0 = none
  std::uint32_t level = 0;     // 0 menu bar, 1 pull-down, 2 submenu
  std::uint32_t flags = 0;     // bit 0 hidden, bit 1 disabled, bit 2 checked
  std::string caption;         // "-" for a separator
  Handler handler;

  bool hidden() const { return (flags & 1) != 0; }
  bool disabled() const { return (flags & 2) != 0; }
  bool checked() const { return (flags & 4) != 0; }
};

struct EventBinding {
  std::int32_t event = 0;
  Handler handler;
};

struct Rect {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

struct ControlRecord {
  Rect rect;
  std::uint32_t parent = 0;  // the GroupBox holding it, 0 = the form
  std::vector<std::uint32_t> children;
  std::string cursor = std::string(4, '\0');  // the blob; four zero bytes = default pointer
  std::string tag;
  std::uint32_t flags = 0;  // bit 0 visible, bit 1 disabled, bit 2 takes the focus
  std::uint32_t focus_order = 0;
  std::vector<EventBinding> events;
  std::string properties;  // the type's property block as stored

  bool visible() const { return (flags & 1) != 0; }
  bool disabled() const { return (flags & 2) != 0; }
};

struct UnitRecord {
  std::uint32_t id = 0;
  std::uint32_t type = 0;           // a TypeCode of the form runtime
  std::uint32_t shared_events = 0;  // unit whose bindings this one uses, 0 = its own
  std::string name;
  std::string remark;
  std::variant<ControlRecord, MenuItemRecord> body;

  const MenuItemRecord* menu_item() const { return std::get_if<MenuItemRecord>(&body); }
  const ControlRecord* control() const { return std::get_if<ControlRecord>(&body); }
};

struct FormRecord {
  std::uint32_t id = 0;
  std::uint32_t kept_words[2] = {0, 0};
  std::string kept_strings[2];
  std::vector<UnitRecord> units;  // the window unit first

  // By id: the window unit is compared first, then the rest in order.
  const UnitRecord* find_unit(std::uint32_t unit_id) const;
  // The unit whose bindings serve unit_id: itself, or where its shared-events links lead while
  // they name units of the same type. Null when unit_id is not in the form.
  const UnitRecord* event_target(std::uint32_t unit_id) const;
  // The handler bound to event on the unit (for a menu item: its one handler), following
  // shared-events links.
  Handler event_handler(std::uint32_t unit_id, std::int32_t event) const;
};

struct FormBlock {
  std::vector<FormRecord> forms;
  const FormRecord* find_form(std::uint32_t form_id) const;
};

std::string write_form_block(const FormBlock& block);
// Null when the block is malformed (short, or offsets outside the unit block).
std::optional<FormBlock> read_form_block(std::string_view bytes);

}  // namespace quillet::forms

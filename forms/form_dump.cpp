#include "forms/form_dump.h"

#include <cstdio>

#include "forms/menu_walk.h"

namespace quillet::forms {
namespace {

std::string hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string handler_text(const Handler& handler) {
  return handler ? "handler " + std::to_string(*handler) : std::string("no handler");
}

// Texts are shown as they are stored (code page 936 bytes), between quotes.
std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string dump_form_block(const FormBlock& block, std::size_t block_size) {
  std::string out = "block " + std::to_string(block_size) + " bytes, " + std::to_string(block.forms.size()) + " forms\n";
  for (const FormRecord& form : block.forms) {
    out += "form " + hex(form.id) + " units " + std::to_string(form.units.size()) + "\n";
    const MenuDescription menu = walk_menu(form);
    std::uint32_t command = kFirstMenuCommand;
    for (const UnitRecord& unit : form.units) {
      if (const MenuItemRecord* item = unit.menu_item()) {
        const std::optional<ShortcutKey> key = shortcut_key(item->shortcut);
        out += "  menu " + hex(unit.id) + " command " + std::to_string(command++) + " level " +
               std::to_string(item->level) + " " + quoted(item->caption) + (key ? " [" + key->name + "]" : "") +
               (item->hidden() ? " hidden" : "") + (item->disabled() ? " disabled" : "") +
               (item->checked() ? " checked" : "") + " " + handler_text(item->handler) + "\n";
        continue;
      }
      const ControlRecord& control = *unit.control();
      out += "  unit " + hex(unit.id) + " type " + hex(unit.type) + " " + quoted(unit.name) + " rect " +
             std::to_string(control.rect.left) + "," + std::to_string(control.rect.top) + "," +
             std::to_string(control.rect.width) + "," + std::to_string(control.rect.height) + " parent " +
             hex(control.parent) + " flags " + std::to_string(control.flags) + " focus " +
             std::to_string(control.focus_order) + " properties " + std::to_string(control.properties.size()) +
             " bytes" + (unit.shared_events != 0 ? " shares " + hex(unit.shared_events) : "") + "\n";
      for (const EventBinding& binding : control.events) {
        out += "    event " + std::to_string(binding.event) + " " + handler_text(binding.handler) + "\n";
      }
    }
    for (const Accelerator& accelerator : menu.accelerators) {
      out += "  accelerator " + std::to_string(accelerator.modifiers) + "+" + hex(accelerator.virtual_key) +
             " command " + std::to_string(accelerator.command) + "\n";
    }
  }
  return out;
}

}  // namespace quillet::forms

#include "forms/form_block.h"

#include "forms/byte_io.h"

namespace quillet::forms {
namespace {

constexpr std::uint32_t kMenuType = 0x00010003;
constexpr std::size_t kMenuWorkingSlots = 16;
constexpr std::size_t kControlWorkingSlots = 20;

std::uint32_t handler_word(const Handler& handler) { return handler.value_or(kNoHandler); }
Handler handler_of(std::uint32_t word) { return word == kNoHandler ? Handler() : Handler(word); }

std::string write_unit(const UnitRecord& unit) {
  ByteWriter out;
  out.word(unit.type);
  out.word(unit.shared_events);
  out.zeros(16);
  out.terminated(unit.name);
  out.terminated(unit.remark);
  if (const MenuItemRecord* item = unit.menu_item()) {
    out.word(item->shortcut);
    out.word(item->level);
    out.word(item->flags);
    out.terminated(item->caption);
    out.word(handler_word(item->handler));
    out.zeros(kMenuWorkingSlots);
  } else {
    const ControlRecord& control = *unit.control();
    out.word(0);  // window slot
    out.signed_word(control.rect.left);
    out.signed_word(control.rect.top);
    out.signed_word(control.rect.width);
    out.signed_word(control.rect.height);
    out.word(0);  // cursor slot
    out.word(control.parent);
    out.word(static_cast<std::uint32_t>(control.children.size()));
    for (std::uint32_t child : control.children) out.word(child);
    out.counted(control.cursor);
    out.terminated(control.tag);
    out.word(0);
    out.word(control.flags);
    out.word(control.focus_order);
    out.word(static_cast<std::uint32_t>(control.events.size()));
    for (const EventBinding& binding : control.events) {
      out.signed_word(binding.event);
      out.word(handler_word(binding.handler));
    }
    out.zeros(kControlWorkingSlots);
    out.raw(control.properties);
  }
  return out.take();
}

std::optional<UnitRecord> read_unit(std::uint32_t id, std::string_view bytes) {
  ByteReader in(bytes);
  UnitRecord unit;
  unit.id = id;
  unit.type = in.word();
  unit.shared_events = in.word();
  in.skip(16);
  unit.name = in.terminated();
  unit.remark = in.terminated();
  if (unit.type == kMenuType) {
    MenuItemRecord item;
    item.shortcut = in.word();
    item.level = in.word();
    item.flags = in.word();
    item.caption = in.terminated();
    item.handler = handler_of(in.word());
    in.skip(kMenuWorkingSlots);
    unit.body = std::move(item);
  } else {
    ControlRecord control;
    in.skip(4);
    control.rect = {in.signed_word(), in.signed_word(), in.signed_word(), in.signed_word()};
    in.skip(4);
    control.parent = in.word();
    const std::uint32_t child_count = in.word();
    if (child_count > bytes.size() / 4) return std::nullopt;
    for (std::uint32_t i = 0; i < child_count; ++i) control.children.push_back(in.word());
    control.cursor = in.counted();
    control.tag = in.terminated();
    in.skip(4);
    control.flags = in.word();
    control.focus_order = in.word();
    const std::uint32_t event_count = in.word();
    if (event_count > bytes.size() / 8) return std::nullopt;
    for (std::uint32_t i = 0; i < event_count; ++i) {
      EventBinding binding;
      binding.event = in.signed_word();
      binding.handler = handler_of(in.word());
      control.events.push_back(binding);
    }
    in.skip(kControlWorkingSlots);
    control.properties = std::string(in.rest());
    unit.body = std::move(control);
  }
  if (in.failed()) return std::nullopt;
  return unit;
}

std::string write_unit_block(const FormRecord& form) {
  std::vector<std::string> records;
  for (const UnitRecord& unit : form.units) records.push_back(write_unit(unit));
  ByteWriter out;
  for (const UnitRecord& unit : form.units) out.word(unit.id);
  std::uint32_t offset = 0;
  for (const std::string& record : records) {
    out.word(offset);
    offset += 4 + static_cast<std::uint32_t>(record.size());
  }
  for (const std::string& record : records) out.counted(record);
  return out.take();
}

}  // namespace

const UnitRecord* FormRecord::find_unit(std::uint32_t unit_id) const {
  for (const UnitRecord& unit : units) {
    if (unit.id == unit_id) return &unit;
  }
  return nullptr;
}

const UnitRecord* FormRecord::event_target(std::uint32_t unit_id) const {
  const UnitRecord* unit = find_unit(unit_id);
  // Follow the links while they lead to a unit of the same type; the count bounds a cycle.
  for (std::size_t hops = 0; unit != nullptr && unit->shared_events != 0 && hops < units.size(); ++hops) {
    const UnitRecord* linked = find_unit(unit->shared_events);
    if (linked == nullptr || linked->type != unit->type) break;
    unit = linked;
  }
  return unit;
}

Handler FormRecord::event_handler(std::uint32_t unit_id, std::int32_t event) const {
  const UnitRecord* unit = event_target(unit_id);
  if (unit != nullptr && unit->menu_item() != nullptr) return unit->menu_item()->handler;
  const ControlRecord* control = unit != nullptr ? unit->control() : nullptr;
  if (control == nullptr) return std::nullopt;
  for (const EventBinding& binding : control->events) {
    if (binding.event == event) return binding.handler;
  }
  return std::nullopt;
}

const FormRecord* FormBlock::find_form(std::uint32_t form_id) const {
  for (const FormRecord& form : forms) {
    if (form.id == form_id) return &form;
  }
  return nullptr;
}

std::string write_form_block(const FormBlock& block) {
  ByteWriter out;
  out.word(static_cast<std::uint32_t>(8 * block.forms.size()));
  for (const FormRecord& form : block.forms) out.word(form.id);
  for (std::size_t i = 0; i < block.forms.size(); ++i) out.word(0);  // placeholders
  for (const FormRecord& form : block.forms) {
    out.word(form.kept_words[0]);
    out.word(form.kept_words[1]);
    out.counted(form.kept_strings[0]);
    out.counted(form.kept_strings[1]);
    out.word(static_cast<std::uint32_t>(form.units.size()));
    out.counted(write_unit_block(form));
  }
  return out.take();
}

std::optional<FormBlock> read_form_block(std::string_view bytes) {
  ByteReader in(bytes);
  ByteReader table(in.take(in.word()));
  FormBlock block;
  const std::size_t form_count = table.rest().size() / 8;
  for (std::size_t i = 0; i < form_count; ++i) block.forms.emplace_back().id = table.word();
  for (FormRecord& form : block.forms) {
    form.kept_words[0] = in.word();
    form.kept_words[1] = in.word();
    form.kept_strings[0] = in.counted();
    form.kept_strings[1] = in.counted();
    const std::uint32_t unit_count = in.word();
    const std::string_view unit_block = in.take(in.word());
    if (in.failed() || unit_count > unit_block.size() / 8) return std::nullopt;
    ByteReader ids(unit_block);
    std::vector<std::uint32_t> unit_ids(unit_count), offsets(unit_count);
    for (auto& id : unit_ids) id = ids.word();
    for (auto& offset : offsets) offset = ids.word();
    const std::string_view records = unit_block.substr(8 * static_cast<std::size_t>(unit_count));
    for (std::uint32_t k = 0; k < unit_count; ++k) {
      if (offsets[k] > records.size()) return std::nullopt;
      ByteReader record(records.substr(offsets[k]));
      const std::string_view body = record.take(record.word());
      if (record.failed()) return std::nullopt;
      std::optional<UnitRecord> unit = read_unit(unit_ids[k], body);
      if (!unit) return std::nullopt;
      form.units.push_back(std::move(*unit));
    }
  }
  if (in.failed()) return std::nullopt;
  return block;
}

}  // namespace quillet::forms

#include "forms/win32/property_service.h"

#include "forms/win32/control.h"
#include "forms/win32/form_runtime.h"
#include "runtime/errors.h"
#include "runtime/memory.h"
#include "text/conversion.h"
#include "text/text_value.h"
#include "text/values.h"

namespace quillet::forms::win32 {
namespace {

namespace type = text::type_code;
using text::ValueRecord;

constexpr char kFormNotLoaded[] = "未载入欲访问窗口组件所在的窗口";
constexpr char kWindowNotLoaded[] = "指定窗口尚未载入";
constexpr char kUnitMissing[] = "指定窗口或窗口组件不存在或尚未载入";

constexpr std::uint32_t kMenuHidden = 1, kMenuDisabled = 2, kMenuChecked = 4;
constexpr std::uint32_t kVisibleFlag = 1, kDisabledFlag = 2;

struct Target {
  FormRecord* form;
  UnitRecord* unit;
  Control* control;  // null for menu items and units the runtime did not create
};

Target find_target(std::uint32_t form_id, std::uint32_t unit_id) {
  FormRuntime& runtime = FormRuntime::instance();
  FormRecord* form = runtime.mutable_form(form_id);
  if (form == nullptr || !runtime.is_loaded(form_id)) runtime::raise_error(0, kFormNotLoaded);
  const std::uint32_t id = unit_id != 0 ? unit_id : form->units[0].id;
  for (UnitRecord& unit : form->units) {
    if (unit.id == id) return {form, &unit, runtime.control(form_id, id)};
  }
  runtime::raise_error(0, kUnitMissing);
}

// ---- Values out -----------------------------------------------------------------------------

ValueRecord text_result(std::string_view bytes) {
  return text::pointer_record(text::make_text(bytes), type::kText);
}
ValueRecord binary_result(std::string_view bytes) {
  return text::byte_array_record(text::make_byte_array(bytes.data(), bytes.size()));
}
ValueRecord font_result(const FontValue& font) {
  auto* record = static_cast<FontRecord*>(runtime::allocate(sizeof(FontRecord)));
  *record = FontRecord{0, font.bold, font.italic, font.underline, font.strike_out, font.size, text::make_text(font.face)};
  return text::pointer_record(record, kFontRecordType);
}

ValueRecord typed_result(PropertyType declared, const PropertyValue& value) {
  switch (declared) {
    case PropertyType::Integer:
    case PropertyType::Colour: return text::int_record(static_cast<std::int32_t>(number_of(value)));
    case PropertyType::Logical: return text::bool_record(number_of(value) != 0);
    case PropertyType::Text: return text_result(bytes_of(value));
    case PropertyType::Binary: return binary_result(bytes_of(value));
    case PropertyType::Font: {
      const auto* font = std::get_if<FontValue>(&value);
      return font_result(font != nullptr ? *font : FontValue{});
    }
  }
  return text::omitted();
}

// ---- Values in: conversion to the declared type ---------------------------------------------

std::string binary_of(const ValueRecord& value) {
  if (value.type == type::kText) return std::string(text::text_argument(value));
  const text::OwnedByteArray bytes(text::value_to_bytes(value));
  if (!bytes) return std::string();
  return std::string(reinterpret_cast<const char*>(text::byte_array_data(bytes.get())),
                     text::byte_array_size(bytes.get()));
}

PropertyValue converted(PropertyType declared, const ValueRecord& value) {
  switch (declared) {
    case PropertyType::Integer:
    case PropertyType::Colour: return std::int64_t{text::value_to_integer(value)};
    case PropertyType::Logical: return std::int64_t{text::value_to_integer(value) != 0 ? 1 : 0};
    case PropertyType::Text: return text::value_text(value);
    case PropertyType::Binary: return binary_of(value);
    case PropertyType::Font: {
      const auto* record = value.type == kFontRecordType ? static_cast<const FontRecord*>(text::pointer_value(value)) : nullptr;
      if (record == nullptr) return std::int64_t{0};  // not a font: the font stays
      return FontValue{record->bold != 0, record->italic != 0, record->underline != 0, record->strike_out != 0,
                       record->size, std::string(text::as_argument(record->face))};
    }
  }
  return std::int64_t{0};
}

// ---- Common properties ----------------------------------------------------------------------

bool is_form_window(const Target& target) { return target.unit == &target.form->units[0]; }

// The live rectangle relative to the parent's client area, in layout units: the screen for a
// form, the container for a control.
Rect live_rect(const Target& target) {
  RECT rect{};
  GetWindowRect(target.control->window(), &rect);
  if (is_form_window(target)) {
    return {to_layout(rect.left), to_layout(rect.top), to_layout(rect.right - rect.left), to_layout(rect.bottom - rect.top)};
  }
  MapWindowPoints(nullptr, target.control->site().form_window, reinterpret_cast<POINT*>(&rect), 2);
  const POINT origin = target.control->site().origin;
  return {to_layout(rect.left) - origin.x, to_layout(rect.top) - origin.y, to_layout(rect.right - rect.left),
          to_layout(rect.bottom - rect.top)};
}

ValueRecord read_common(const Target& target, std::int32_t number) {
  const ControlRecord& record = std::get<ControlRecord>(target.unit->body);
  const bool live = target.control != nullptr && target.control->window() != nullptr;
  const Rect rect = live ? live_rect(target) : record.rect;
  switch (number) {
    case property::kLeft: return text::int_record(rect.left);
    case property::kTop: return text::int_record(rect.top);
    case property::kWidth: return text::int_record(rect.width);
    case property::kHeight: return text::int_record(rect.height);
    case property::kTag: return text_result(record.tag);
    case property::kVisible:
      return text::bool_record(live && is_form_window(target) ? IsWindowVisible(target.control->window()) != FALSE
                                                              : record.visible());
    case property::kDisabled:
      return text::bool_record(live ? IsWindowEnabled(target.control->window()) == FALSE : record.disabled());
    default: return binary_result(record.cursor);
  }
}

void place(const Target& target) {
  const ControlRecord& record = std::get<ControlRecord>(target.unit->body);
  if (target.control == nullptr) return;
  if (target.control->is_container() || target.control->window() == nullptr) {
    FormRuntime::instance().lay_out(target.form->id);  // its children move and show with it
    if (target.control->window() == nullptr) return;
  }
  const POINT origin = is_form_window(target) ? POINT{0, 0} : target.control->site().origin;
  SetWindowPos(target.control->window(), nullptr, to_device(origin.x + record.rect.left),
               to_device(origin.y + record.rect.top), to_device(record.rect.width), to_device(record.rect.height),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void write_common(const Target& target, std::int32_t number, const ValueRecord& value) {
  ControlRecord& record = std::get<ControlRecord>(target.unit->body);
  const bool live = target.control != nullptr && target.control->window() != nullptr;
  if (number <= property::kHeight) {
    if (live) record.rect = live_rect(target);  // the other coordinates as they are now
    std::int32_t* fields[] = {&record.rect.left, &record.rect.top, &record.rect.width, &record.rect.height};
    *fields[number] = text::value_to_integer(value);
    place(target);
    return;
  }
  const bool on = text::value_to_integer(value) != 0;
  switch (number) {
    case property::kTag:
      record.tag = text::value_text(value);
      break;
    case property::kVisible:
      record.flags = on ? (record.flags | kVisibleFlag) : (record.flags & ~kVisibleFlag);
      if (!live) break;
      if (is_form_window(target)) {
        ShowWindow(target.control->window(), on ? SW_SHOW : SW_HIDE);
      } else if (target.control->is_container()) {
        FormRuntime::instance().lay_out(target.form->id);
      } else {
        target.control->apply_state();
      }
      break;
    case property::kDisabled:
      record.flags = on ? (record.flags | kDisabledFlag) : (record.flags & ~kDisabledFlag);
      if (live) EnableWindow(target.control->window(), !on);
      break;
    default:
      record.cursor = binary_of(value);
      if (target.control != nullptr) target.control->reload_cursor();
      break;
  }
}

// ---- Menu items -----------------------------------------------------------------------------

ValueRecord read_menu_item(const MenuItemRecord& item, std::int32_t number) {
  switch (number) {
    case property::kMenuCaption: return text_result(item.caption);
    case property::kMenuChecked: return text::bool_record(item.checked());
    case property::kMenuDisabled: return text::bool_record(item.disabled());
    case property::kMenuVisible: return text::bool_record(!item.hidden());
    default: return text::omitted();
  }
}

void write_menu_item(const Target& target, MenuItemRecord& item, std::int32_t number, const ValueRecord& value) {
  bool changed = false;
  if (number == property::kMenuCaption) {
    std::string caption = text::value_text(value);
    changed = caption != item.caption;
    item.caption = std::move(caption);
  } else if (number >= property::kMenuChecked && number <= property::kMenuVisible) {
    static constexpr std::uint32_t kFlag[] = {0, kMenuChecked, kMenuDisabled, kMenuHidden};
    // The visible property is the inverse of the hidden flag.
    const bool set_flag = (text::value_to_integer(value) != 0) != (number == property::kMenuVisible);
    const std::uint32_t flags = set_flag ? (item.flags | kFlag[number]) : (item.flags & ~kFlag[number]);
    changed = flags != item.flags;
    item.flags = flags;
  }
  // Any change rebuilds the whole menu bar; an unchanged value leaves it alone.
  if (changed) FormRuntime::instance().rebuild_menu(target.form->id);
}

}  // namespace

void release_font_record(FontRecord* font) {
  if (font == nullptr) return;
  runtime::release(font->face);
  runtime::release(font);
}

ValueRecord read_property(std::uint32_t form_id, std::uint32_t unit_id, std::int32_t number) {
  const Target target = find_target(form_id, unit_id);
  if (const MenuItemRecord* item = target.unit->menu_item()) return read_menu_item(*item, number);
  if (number >= 0 && number < 8) return read_common(target, number);
  if (target.control == nullptr) runtime::raise_error(0, kWindowNotLoaded);
  const int k = number - 8;
  const std::optional<PropertyType> declared = target.control->property_type(k);
  if (!declared) return text::omitted();
  return typed_result(*declared, target.control->get(k));
}

void write_property(std::uint32_t form_id, std::uint32_t unit_id, std::int32_t number, const ValueRecord& value) {
  const Target target = find_target(form_id, unit_id);
  if (auto* item = std::get_if<MenuItemRecord>(&target.unit->body)) return write_menu_item(target, *item, number, value);
  if (number >= 0 && number < 8) return write_common(target, number, value);
  if (target.control == nullptr) runtime::raise_error(0, kWindowNotLoaded);
  const int k = number - 8;
  const std::optional<PropertyType> declared = target.control->property_type(k);
  if (!declared) return;
  if (target.control->set(k, converted(*declared, value)) == SetEffect::Recreate) target.control->recreate();
}

namespace call {

text::OwnedText read_text(const UnitRef& unit, std::int32_t number) {
  return text::take_text(read_property(unit.form_id, unit.unit_id, number));
}
std::int32_t read_int(const UnitRef& unit, std::int32_t number) {
  const ValueRecord value = read_property(unit.form_id, unit.unit_id, number);
  switch (value.type) {
    case type::kText: {
      const text::OwnedText owned = text::take_text(value);
      return text::value_to_integer(text::text_record(owned.get()));
    }
    case type::kByteArray:
      text::take_byte_array(value);  // released at once
      return 0;
    case kFontRecordType:
      release_font_record(static_cast<FontRecord*>(text::pointer_value(value)));
      return 0;
    default:
      return text::value_to_integer(value);
  }
}
bool read_bool(const UnitRef& unit, std::int32_t number) { return read_int(unit, number) != 0; }
void write_text(const UnitRef& unit, std::int32_t number, const char* text) {
  write_property(unit.form_id, unit.unit_id, number, text::text_record(text));
}
void write_int(const UnitRef& unit, std::int32_t number, std::int32_t value) {
  write_property(unit.form_id, unit.unit_id, number, text::int_record(value));
}
void write_bool(const UnitRef& unit, std::int32_t number, bool value) {
  write_property(unit.form_id, unit.unit_id, number, text::bool_record(value));
}
void write_font(const UnitRef& unit, std::int32_t number, const FontRecord& font) {
  write_property(unit.form_id, unit.unit_id, number, text::pointer_record(&font, kFontRecordType));
}

}  // namespace call
}  // namespace quillet::forms::win32

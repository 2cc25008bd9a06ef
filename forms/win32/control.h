// The control-type interface of the form runtime. Each unit of an open form has one Control:
// it creates the unit's window (if the type has one) from the unit's record, answers the
// type-specific properties through its type's table, and turns its window's notifications into
// events. The form's own window unit is a Control too.
//
// Controls sit in a container: the form or a group box. Group boxes are containers for layout
// only: every control window is a child of the form's window, placed at its container's origin
// plus its own stored position, so a label at a negative top still shows over the group box's
// upper edge, and every notification reaches the form's window procedure.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

#include "forms/form_block.h"
#include "forms/win32/gdi.h"

namespace quillet::forms::win32 {

enum class PropertyType { Integer, Logical, Text, Binary, Font, Colour };

// A property value after conversion to its declared type: numbers, logicals and colours as
// integers, texts and binary data as bytes, fonts as font records.
using PropertyValue = std::variant<std::int64_t, std::string, FontValue>;

enum class SetEffect {
  Done,
  Recreate,  // the window must be created again in place (the runtime does it)
};

inline std::int64_t number_of(const PropertyValue& value) {
  const auto* number = std::get_if<std::int64_t>(&value);
  return number != nullptr ? *number : 0;
}
inline const std::string& bytes_of(const PropertyValue& value) {
  static const std::string kNone;
  const auto* bytes = std::get_if<std::string>(&value);
  return bytes != nullptr ? *bytes : kNone;
}

// Where a control lives.
struct ControlSite {
  std::uint32_t form_id = 0;
  UnitRecord* unit = nullptr;  // the loaded description; common properties are stored here
  HWND form_window = nullptr;
  POINT origin{};       // the container's client origin in the form's client area
  bool shown = true;    // false while a container holding it is hidden
  int child_id = 0;     // the window's control id
};

class Control {
 public:
  explicit Control(const ControlSite& site) : site_(site) {}
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Creates the unit's window from its record; false when the record cannot be used.
  virtual bool create() = 0;

  HWND window() const { return window_; }
  std::uint32_t form_id() const { return site_.form_id; }
  std::uint32_t unit_id() const { return site_.unit->id; }
  std::uint32_t type() const { return site_.unit->type; }
  UnitRecord& unit() const { return *site_.unit; }
  ControlRecord& record() const { return std::get<ControlRecord>(site_.unit->body); }
  const ControlSite& site() const { return site_; }
  // Containers move and show their children with them.
  void set_origin(POINT origin) { site_.origin = origin; }
  void set_shown(bool shown) { site_.shown = shown; }

  // Type-specific property k (the application's property number minus 8): its declared type
  // (none for a number the type does not have), its value, and a write of a converted value.
  virtual std::optional<PropertyType> property_type(int k) const = 0;
  virtual PropertyValue get(int k) const = 0;
  virtual SetEffect set(int k, const PropertyValue& value) = 0;

  // The event a WM_COMMAND notification from the window raises, if any.
  virtual std::optional<std::int32_t> command_event(WORD /*code*/) { return std::nullopt; }
  // The brush (and the colours set on dc) for a WM_CTLCOLOR* of the window; null: the default.
  virtual HBRUSH colour_brush(HDC /*dc*/) { return nullptr; }
  virtual bool is_default_button() const { return false; }
  virtual bool is_container() const { return false; }
  // Called before an input message of the window is raised as an event (an edit box
  // normalises its text before its focus-lost event).
  virtual void before_input_event(UINT /*message*/) {}
  // Creates the window again in place after a property that needs a new window changed.
  virtual void recreate() {}

  // Applies the stored visible and disabled flags (and the container's visibility).
  void apply_state() const;
  // The mouse pointer from the stored cursor data (common property 7).
  void reload_cursor() { cursor_ = cursor_from_blob(record().cursor); }

 protected:
  // Creates a child window of the form at the stored rectangle (hidden until apply_state),
  // with the text through the codec, and routes its messages through on_message.
  HWND create_child(const wchar_t* window_class, DWORD style, DWORD extended_style, std::string_view text);
  // A new child window of the form at the stored rectangle, not yet the control's.
  HWND make_child(const wchar_t* window_class, DWORD style, DWORD extended_style, std::string_view text) const;
  // Puts a new window in place of the current one: same rectangle, stacking place, visibility
  // and enabled state; the old window is destroyed and the focus follows when it had it.
  void swap_window(HWND fresh);
  // Visual styles draw check boxes, radio boxes and group boxes in the theme's colours, over
  // whatever the form stores; a control that shows its stored colours is drawn the classic way.
  void keep_stored_colours() const;
  // Adopts a window created elsewhere (the form's own window): it is neither subclassed nor
  // destroyed by the control.
  void adopt(HWND window) { window_ = window; }
  // The control's own handling of its window's messages, after the common input events.
  virtual LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT default_message(UINT message, WPARAM wparam, LPARAM lparam);
  void set_font(HFONT font) const;
  // Makes the stored font blob the window's font; the font is kept in *font for the window's life.
  void show_font(UniqueFont& font, std::string_view blob) const;
  // The window's text from code page 936 bytes.
  void show_text(std::string_view bytes) const;
  void repaint() const;
  void add_style(DWORD style, bool on) const;

 private:
  static LRESULT CALLBACK subclass_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                             UINT_PTR id, DWORD_PTR self);
  ControlSite site_;
  HWND window_ = nullptr;
  bool subclassed_ = false;
  UniqueCursor cursor_;
};

// The common input events of every visible control (mouse, keys, characters, wheel, focus):
// raised to the form's dispatcher; true when the handler swallowed the message. A character
// event's handler may replace the character (*wparam).
bool raise_input_event(std::uint32_t form_id, std::uint32_t unit_id, UINT message, WPARAM* wparam, LPARAM lparam);
// Registers one of the runtime's window classes once (later calls do nothing).
void register_window_class(const wchar_t* name, WNDPROC procedure = DefWindowProcW, UINT style = CS_DBLCLKS,
                           HBRUSH background = nullptr);

// A character of the W window procedure as the program's code: its CP936 bytes, a double-byte
// character as lead << 8 | trail; and back.
std::int64_t character_code(WPARAM unit);
WPARAM character_unit(std::int64_t code);
// The event number of an input message, or none for other messages.
std::optional<std::int32_t> input_event_number(UINT message);

// One row of a type's property table: the number k, the declared type, and how to read and
// write it. A null setter makes the property read-only.
template <class C>
struct PropertyRow {
  int k;
  PropertyType type;
  PropertyValue (*get)(const C&);
  SetEffect (*set)(C&, const PropertyValue&);
};

// A control whose type-specific properties come from its table, C::properties().
template <class C>
class TableControl : public Control {
 public:
  using Control::Control;
  std::optional<PropertyType> property_type(int k) const override {
    const PropertyRow<C>* row = find(k);
    return row != nullptr ? std::optional<PropertyType>(row->type) : std::nullopt;
  }
  PropertyValue get(int k) const override {
    const PropertyRow<C>* row = find(k);
    return row != nullptr ? row->get(static_cast<const C&>(*this)) : PropertyValue{};
  }
  SetEffect set(int k, const PropertyValue& value) override {
    const PropertyRow<C>* row = find(k);
    return row != nullptr && row->set != nullptr ? row->set(static_cast<C&>(*this), value) : SetEffect::Done;
  }

 private:
  static const PropertyRow<C>* find(int k) {
    for (const PropertyRow<C>& row : C::properties()) {
      if (row.k == k) return &row;
    }
    return nullptr;
  }
};

// Table rows for properties kept in the control's decoded property block (C::stored()), with an
// optional member to call after a write (restyle, repaint, new font).
template <class C, auto Field, void (C::*After)() = nullptr>
PropertyRow<C> stored_row(int k, PropertyType type) {
  return {k, type,
          [](const C& control) -> PropertyValue {
            const auto& field = control.stored().*Field;
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>) {
              return field;
            } else {
              return static_cast<std::int64_t>(field);
            }
          },
          [](C& control, const PropertyValue& value) {
            auto& field = control.stored().*Field;
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, std::string>) {
              field = bytes_of(value);
            } else {
              field = static_cast<std::decay_t<decltype(field)>>(number_of(value));
            }
            if constexpr (After != nullptr) (control.*After)();
            return SetEffect::Done;
          }};
}

// A property kept in one element of an array of the decoded property block.
template <class C, auto Array, std::size_t Index>
PropertyRow<C> element_row(int k, PropertyType type) {
  return {k, type,
          [](const C& control) -> PropertyValue {
            const auto& element = (control.stored().*Array)[Index];
            if constexpr (std::is_same_v<std::decay_t<decltype(element)>, std::string>) {
              return element;
            } else {
              return static_cast<std::int64_t>(element);
            }
          },
          [](C& control, const PropertyValue& value) {
            auto& element = (control.stored().*Array)[Index];
            if constexpr (std::is_same_v<std::decay_t<decltype(element)>, std::string>) {
              element = bytes_of(value);
            } else {
              element = static_cast<std::decay_t<decltype(element)>>(number_of(value));
            }
            return SetEffect::Done;
          }};
}

// A font property kept as the stored blob and exchanged as a font record.
template <class C, auto Field, void (C::*After)() = nullptr>
PropertyRow<C> font_row(int k) {
  return {k, PropertyType::Font,
          [](const C& control) -> PropertyValue { return font_value_of(control.stored().*Field); },
          [](C& control, const PropertyValue& value) {
            if (const auto* font = std::get_if<FontValue>(&value)) control.stored().*Field = font_blob_of(*font);
            if constexpr (After != nullptr) (control.*After)();
            return SetEffect::Done;
          }};
}

}  // namespace quillet::forms::win32

#include "forms/win32/check_box.h"

#include <algorithm>

#include "forms/win32/button.h"
#include "forms/win32/form_runtime.h"
#include "runtime/win32_text.h"
#include "text/call_frame.h"

namespace quillet::forms::win32 {

std::span<const PropertyRow<CheckBox>> CheckBox::properties() {
  using P = CheckBoxProperties;
  static const PropertyRow<CheckBox> kRows[] = {
      stored_row<CheckBox, &P::picture, &CheckBox::show_picture>(0, PropertyType::Binary),
      stored_row<CheckBox, &P::push_like, &CheckBox::restyle>(1, PropertyType::Logical),
      stored_row<CheckBox, &P::flat, &CheckBox::restyle>(2, PropertyType::Logical),
      stored_row<CheckBox, &P::caption, &CheckBox::show_caption>(3, PropertyType::Text),
      stored_row<CheckBox, &P::text_on_left, &CheckBox::restyle>(4, PropertyType::Logical),
      stored_row<CheckBox, &P::horizontal_alignment, &CheckBox::restyle>(5, PropertyType::Integer),
      stored_row<CheckBox, &P::vertical_alignment, &CheckBox::restyle>(6, PropertyType::Integer),
      stored_row<CheckBox, &P::text_colour, &CheckBox::recolour>(7, PropertyType::Colour),
      stored_row<CheckBox, &P::background_colour, &CheckBox::recolour>(8, PropertyType::Colour),
      font_row<CheckBox, &P::font, &CheckBox::refont>(9),
      {10, PropertyType::Logical,
       [](const CheckBox& box) -> PropertyValue { return std::int64_t{box.checked() ? 1 : 0}; },
       [](CheckBox& box, const PropertyValue& value) {
         box.set_checked(number_of(value) != 0);
         return SetEffect::Done;
       }},
  };
  return kRows;
}

bool CheckBox::create() {
  const std::optional<CheckBoxProperties> properties = decode_properties<CheckBoxProperties>(
      record().properties, radio_ ? CheckBoxProperties::kRadioVersion : CheckBoxProperties::kVersion);
  if (!properties) return false;
  stored_ = *properties;
  if (create_child(L"BUTTON", WS_TABSTOP, 0, stored_.caption) == nullptr) return false;
  keep_stored_colours();
  picture_ = Picture(stored_.picture);
  restyle();
  refont();
  recolour();
  SendMessageW(window(), BM_SETCHECK, stored_.checked != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  return true;
}

std::optional<std::int32_t> CheckBox::command_event(WORD code) {
  if (code != BN_CLICKED) return std::nullopt;
  if (radio_) set_checked(true);  // a manual radio button: the group is ours to keep exclusive
  return 0;
}

HBRUSH CheckBox::colour_brush(HDC dc) {
  SetTextColor(dc, colour_of(stored_.text_colour));
  SetBkColor(dc, colour_of(stored_.background_colour));
  return background_.get();
}

bool CheckBox::checked() const { return SendMessageW(window(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::set_checked(bool checked) {
  SendMessageW(window(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!radio_ || !checked) return;
  for (Control* sibling : FormRuntime::instance().controls_of(form_id())) {
    if (sibling != this && sibling->type() == text::type_code::kRadioBox && sibling->record().parent == record().parent) {
      SendMessageW(sibling->window(), BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

void CheckBox::restyle() {
  const DWORD kind = radio_ ? BS_RADIOBUTTON : BS_AUTOCHECKBOX;
  DWORD style = kind | horizontal_alignment_style(stored_.horizontal_alignment) |
                vertical_alignment_style(stored_.vertical_alignment);
  if (stored_.push_like != 0) style |= BS_PUSHLIKE;
  if (stored_.flat != 0) style |= BS_FLAT;
  if (stored_.text_on_left != 0) style |= BS_LEFTTEXT;
  if (picture_.bitmap() != nullptr) style |= BS_BITMAP;
  add_style(BS_TYPEMASK | BS_CENTER | BS_VCENTER | BS_PUSHLIKE | BS_FLAT | BS_LEFTTEXT | BS_BITMAP, false);
  add_style(style, true);
  repaint();
}

void CheckBox::refont() { show_font(font_, stored_.font); }

void CheckBox::recolour() {
  background_ = brush_of(stored_.background_colour);
  repaint();
}

void CheckBox::show_caption() { show_text(stored_.caption); }

void CheckBox::show_picture() {
  picture_ = Picture(stored_.picture);
  SendMessageW(window(), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.bitmap()));
  restyle();
}

}  // namespace quillet::forms::win32

#include "forms/win32/button.h"

#include <algorithm>

#include "runtime/win32_text.h"

namespace quillet::forms::win32 {

DWORD horizontal_alignment_style(std::uint32_t alignment) {
  static constexpr DWORD kStyles[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
  return kStyles[std::min<std::uint32_t>(alignment, 2)];
}

DWORD vertical_alignment_style(std::uint32_t alignment) {
  static constexpr DWORD kStyles[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
  return kStyles[std::min<std::uint32_t>(alignment, 2)];
}

std::span<const PropertyRow<Button>> Button::properties() {
  using P = ButtonProperties;
  static const PropertyRow<Button> kRows[] = {
      stored_row<Button, &P::picture, &Button::show_picture>(0, PropertyType::Binary),
      stored_row<Button, &P::default_button, &Button::restyle>(1, PropertyType::Logical),
      stored_row<Button, &P::caption, &Button::show_caption>(2, PropertyType::Text),
      stored_row<Button, &P::horizontal_alignment, &Button::restyle>(3, PropertyType::Integer),
      stored_row<Button, &P::vertical_alignment, &Button::restyle>(4, PropertyType::Integer),
      font_row<Button, &P::font, &Button::refont>(5),
  };
  return kRows;
}

bool Button::create() {
  const std::optional<ButtonProperties> properties = decode_properties<ButtonProperties>(record().properties);
  if (!properties) return false;
  stored_ = *properties;
  if (create_child(L"BUTTON", WS_TABSTOP, 0, stored_.caption) == nullptr) return false;
  restyle();
  refont();
  show_picture();
  return true;
}

std::optional<std::int32_t> Button::command_event(WORD code) {
  return code == BN_CLICKED ? std::optional<std::int32_t>(0) : std::nullopt;
}

void Button::restyle() {
  stored_.horizontal_alignment = std::min<std::uint32_t>(stored_.horizontal_alignment, 2);
  stored_.vertical_alignment = std::min<std::uint32_t>(stored_.vertical_alignment, 2);
  const DWORD kind = stored_.default_button != 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  const DWORD image = picture_.bitmap() != nullptr ? BS_BITMAP : 0;
  add_style(BS_TYPEMASK | BS_CENTER | BS_VCENTER | BS_BITMAP, false);
  add_style(kind | image | horizontal_alignment_style(stored_.horizontal_alignment) |
                vertical_alignment_style(stored_.vertical_alignment),
            true);
  repaint();
}

void Button::refont() { show_font(font_, stored_.font); }

void Button::show_caption() {
  show_text(stored_.caption);
}

void Button::show_picture() {
  picture_ = Picture(stored_.picture);
  SendMessageW(window(), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.bitmap()));
  restyle();
}

}  // namespace quillet::forms::win32

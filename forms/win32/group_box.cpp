#include "forms/win32/group_box.h"

#include "forms/win32/button.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {

std::span<const PropertyRow<GroupBox>> GroupBox::properties() {
  using P = GroupBoxProperties;
  static const PropertyRow<GroupBox> kRows[] = {
      stored_row<GroupBox, &P::caption, &GroupBox::show_caption>(0, PropertyType::Text),
      stored_row<GroupBox, &P::alignment, &GroupBox::restyle>(1, PropertyType::Integer),
      stored_row<GroupBox, &P::text_colour, &GroupBox::recolour>(2, PropertyType::Colour),
      stored_row<GroupBox, &P::background_colour, &GroupBox::recolour>(3, PropertyType::Colour),
      font_row<GroupBox, &P::font, &GroupBox::refont>(4),
  };
  return kRows;
}

bool GroupBox::create() {
  const std::optional<GroupBoxProperties> properties = decode_properties<GroupBoxProperties>(record().properties);
  if (!properties) return false;
  stored_ = *properties;
  if (create_child(L"BUTTON", BS_GROUPBOX, 0, stored_.caption) == nullptr) return false;
  keep_stored_colours();
  restyle();
  refont();
  recolour();
  return true;
}

HBRUSH GroupBox::colour_brush(HDC dc) {
  SetTextColor(dc, colour_of(stored_.text_colour));
  SetBkColor(dc, colour_of(stored_.background_colour));
  return background_.get();
}

LRESULT GroupBox::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) {
    // The button class leaves a group box's inside alone, and the form does not paint under
    // its children: the inside is ours to fill.
    RECT client{};
    GetClientRect(window(), &client);
    FillRect(reinterpret_cast<HDC>(wparam), &client, background_.get());
    return 1;
  }
  return default_message(message, wparam, lparam);
}

void GroupBox::restyle() {
  add_style(BS_CENTER, false);
  add_style(horizontal_alignment_style(stored_.alignment), true);
  repaint();
}

void GroupBox::refont() { show_font(font_, stored_.font); }

void GroupBox::recolour() {
  background_ = brush_of(stored_.background_colour);
  repaint();
}

void GroupBox::show_caption() { show_text(stored_.caption); }

}  // namespace quillet::forms::win32

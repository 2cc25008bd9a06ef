#include "forms/win32/edit_box.h"

#include <algorithm>

#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

// The system's limit when the stored maximum length is 0 (EDIT's own default is 30,000).
constexpr LPARAM kSystemLimit = 0x7FFFFFFE;

}  // namespace

std::span<const PropertyRow<EditBox>> EditBox::properties() {
  using P = EditBoxProperties;
  static const PropertyRow<EditBox> kRows[] = {
      {0, PropertyType::Text, [](const EditBox& box) -> PropertyValue { return box.content(); },
       [](EditBox& box, const PropertyValue& value) {
         box.set_content(bytes_of(value));
         return SetEffect::Done;
       }},
      stored_row<EditBox, &P::border, &EditBox::restyle>(1, PropertyType::Integer),
      stored_row<EditBox, &P::text_colour, &EditBox::recolour>(2, PropertyType::Colour),
      stored_row<EditBox, &P::background_colour, &EditBox::recolour>(3, PropertyType::Colour),
      font_row<EditBox, &P::font, &EditBox::refont>(4),
      stored_row<EditBox, &P::maximum_length, &EditBox::apply_limit>(6, PropertyType::Integer),
      stored_row<EditBox, &P::alignment, &EditBox::restyle>(9, PropertyType::Integer),
  };
  return kRows;
}

DWORD EditBox::window_style() const {
  DWORD style = WS_TABSTOP;
  static constexpr DWORD kAlignment[] = {ES_LEFT, ES_CENTER, ES_RIGHT};
  style |= kAlignment[std::min<std::uint32_t>(stored_.alignment, 2)];
  if (stored_.hide_selection == 0) style |= ES_NOHIDESEL;
  if (stored_.case_conversion == 1) style |= ES_LOWERCASE;
  if (stored_.case_conversion == 2) style |= ES_UPPERCASE;
  if (stored_.border >= 2) style |= WS_BORDER;
  if (stored_.multi_line != 0) {
    style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if ((stored_.scroll_bars & 1) != 0) style |= WS_HSCROLL | ES_AUTOHSCROLL;  // else lines wrap
    if ((stored_.scroll_bars & 2) != 0) style |= WS_VSCROLL;
  } else {
    style |= ES_AUTOHSCROLL;
  }
  return style;
}

bool EditBox::create() {
  const std::optional<EditBoxProperties> properties = decode_properties<EditBoxProperties>(record().properties);
  if (!properties) return false;
  stored_ = *properties;
  stored_.alignment = std::min<std::uint32_t>(stored_.alignment, 2);
  stored_.border = std::min<std::uint32_t>(stored_.border, 5);
  stored_.scroll_bars = std::min<std::uint32_t>(stored_.scroll_bars, 3);
  const DWORD extended = stored_.border == 1 ? WS_EX_CLIENTEDGE : 0;
  if (create_child(L"EDIT", window_style(), extended, "") == nullptr) return false;
  apply_limit();
  refont();
  recolour();
  set_content(stored_.content);
  return true;
}

std::optional<std::int32_t> EditBox::command_event(WORD code) {
  return code == EN_CHANGE ? std::optional<std::int32_t>(0) : std::nullopt;
}

HBRUSH EditBox::colour_brush(HDC dc) {
  SetTextColor(dc, colour_of(stored_.text_colour));
  SetBkColor(dc, colour_of(stored_.background_colour));
  return background_.get();
}

std::string EditBox::content() const {
  const int length = GetWindowTextLengthW(window());
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window(), text.data(), length + 1)));
  return runtime::win32::narrow(text);
}

void EditBox::set_content(std::string_view bytes) {
  SetWindowTextW(window(), runtime::win32::widen(bytes).c_str());
}

void EditBox::restyle() {
  stored_.alignment = std::min<std::uint32_t>(stored_.alignment, 2);
  stored_.border = std::min<std::uint32_t>(stored_.border, 5);
  add_style(ES_CENTER | ES_RIGHT | WS_BORDER, false);
  add_style(window_style() & (ES_CENTER | ES_RIGHT | WS_BORDER), true);
  const LONG_PTR extended = GetWindowLongPtrW(window(), GWL_EXSTYLE);
  SetWindowLongPtrW(window(), GWL_EXSTYLE,
                    stored_.border == 1 ? (extended | WS_EX_CLIENTEDGE) : (extended & ~LONG_PTR{WS_EX_CLIENTEDGE}));
  SetWindowPos(window(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  repaint();
}

void EditBox::refont() {
  font_ = font_from_blob(stored_.font);
  set_font(font_.get());
}

void EditBox::recolour() {
  background_ = brush_of(stored_.background_colour);
  repaint();
}

void EditBox::apply_limit() {
  stored_.maximum_length = std::max(stored_.maximum_length, 0);
  SendMessageW(window(), EM_SETLIMITTEXT, stored_.maximum_length == 0 ? kSystemLimit : stored_.maximum_length, 0);
}

}  // namespace quillet::forms::win32

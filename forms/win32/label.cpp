#include "forms/win32/label.h"

#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

constexpr wchar_t kLabelClass[] = L"_QF_Label";

}  // namespace

std::span<const PropertyRow<Label>> Label::properties() {
  static const PropertyRow<Label> kRows[] = {
      stored_row<Label, &LabelProperties::caption, &Label::show_caption>(0, PropertyType::Text),
  };
  return kRows;
}

bool Label::create() {
  const std::optional<LabelProperties> properties = decode_properties<LabelProperties>(record().properties);
  if (!properties) return false;
  stored_ = *properties;
  register_window_class(kLabelClass);
  font_ = font_from_blob(stored_.font);
  return create_child(kLabelClass, 0, 0, stored_.caption) != nullptr;
}

void Label::show_caption() {
  show_text(stored_.caption);
  repaint();
}

void Label::paint(HDC dc) const {
  RECT client{};
  GetClientRect(window(), &client);
  const std::uint32_t text_colour = stored_.drawing_words[kTextColourWord];
  const std::uint32_t background = stored_.drawing_words[kBackgroundWord];
  UniqueBrush brush = brush_of(background);
  FillRect(dc, &client, brush.get());
  SetTextColor(dc, colour_of(text_colour));
  SetBkMode(dc, TRANSPARENT);
  const HGDIOBJ old_font = SelectObject(dc, font_ ? font_.get() : default_font());
  std::wstring text = runtime::win32::widen(stored_.caption);
  // A label with room for two lines or more wraps its words; a one-line label is clipped at its
  // right edge rather than showing half of a second line.
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const bool one_line = client.bottom < 2 * metrics.tmHeight;
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &client,
            DT_LEFT | DT_TOP | (one_line ? DT_SINGLELINE : DT_WORDBREAK));
  SelectObject(dc, old_font);
}

LRESULT Label::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painted whole in WM_PAINT
    case WM_PAINT: {
      PAINTSTRUCT paint_info;
      HDC dc = BeginPaint(window(), &paint_info);
      paint(dc);
      EndPaint(window(), &paint_info);
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wparam));
      return 0;
    default:
      return default_message(message, wparam, lparam);
  }
}

}  // namespace quillet::forms::win32

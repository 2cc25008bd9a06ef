#include "forms/win32/pic_box.h"

namespace quillet::forms::win32 {
namespace {

constexpr wchar_t kPicBoxClass[] = L"_QF_PicBox";

}  // namespace

std::span<const PropertyRow<PicBox>> PicBox::properties() {
  static const PropertyRow<PicBox> kRows[] = {
      stored_row<PicBox, &PicBoxProperties::picture, &PicBox::show_picture>(0, PropertyType::Binary),
  };
  return kRows;
}

bool PicBox::create() {
  const std::optional<PicBoxProperties> properties = decode_properties<PicBoxProperties>(record().properties);
  if (!properties) return false;
  stored_ = *properties;
  register_window_class(kPicBoxClass);
  picture_ = Picture(stored_.picture);
  return create_child(kPicBoxClass, 0, 0, "") != nullptr;
}

void PicBox::show_picture() {
  picture_ = Picture(stored_.picture);
  repaint();
}

void PicBox::paint(HDC dc) const {
  RECT client{};
  GetClientRect(window(), &client);
  UniqueBrush brush = brush_of(stored_.words[kBackgroundWord]);
  FillRect(dc, &client, brush.get());
  picture_.draw(dc, 0, 0);
}

LRESULT PicBox::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
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

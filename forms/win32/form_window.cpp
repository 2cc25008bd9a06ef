#include "forms/win32/form_window.h"

#include "runtime/win32_text.h"

namespace quillet::forms::win32 {

FormWindow::FormWindow(const ControlSite& site, const WindowProperties& properties)
    : TableControl(site), stored_(properties) {}

std::span<const PropertyRow<FormWindow>> FormWindow::properties() {
  using P = WindowProperties;
  static const PropertyRow<FormWindow> kRows[] = {
      stored_row<FormWindow, &P::title, &FormWindow::show_title>(0, PropertyType::Text),
      stored_row<FormWindow, &P::border, &FormWindow::restyle>(1, PropertyType::Integer),
      stored_row<FormWindow, &P::background_colour, &FormWindow::recolour>(2, PropertyType::Colour),
      stored_row<FormWindow, &P::background_picture, &FormWindow::show_picture>(3, PropertyType::Binary),
  };
  return kRows;
}

DWORD FormWindow::style_of(const WindowProperties& properties) {
  DWORD style = WS_CLIPCHILDREN;
  if (properties.border == 0) {
    style |= WS_POPUP;
  } else {
    style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    if (properties.border == 1) style |= WS_THICKFRAME;
  }
  if (properties.minimise_box != 0) style |= WS_MINIMIZEBOX;
  if (properties.maximise_box != 0) style |= WS_MAXIMIZEBOX;
  return style;
}

DWORD FormWindow::extended_style_of(const WindowProperties& properties) {
  return properties.border >= 2 ? WS_EX_DLGMODALFRAME : 0;
}

bool FormWindow::create() {
  adopt(site().form_window);
  background_ = brush_of(stored_.background_colour);
  picture_ = Picture(stored_.background_picture);
  return true;
}

void FormWindow::erase(HDC dc) const {
  RECT client{};
  GetClientRect(window(), &client);
  FillRect(dc, &client, background_.get());
  picture_.draw(dc, 0, 0);
}

void FormWindow::show_title() { show_text(stored_.title); }

void FormWindow::restyle() {
  if (stored_.border > 6) stored_.border = 6;
  const LONG_PTR keep = GetWindowLongPtrW(window(), GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
  SetWindowLongPtrW(window(), GWL_STYLE, keep | style_of(stored_));
  SetWindowLongPtrW(window(), GWL_EXSTYLE, extended_style_of(stored_));
  SetWindowPos(window(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void FormWindow::recolour() {
  background_ = brush_of(stored_.background_colour);
  repaint();
}

void FormWindow::show_picture() {
  picture_ = Picture(stored_.background_picture);
  repaint();
}

}  // namespace quillet::forms::win32

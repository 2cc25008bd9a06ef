// The window unit of a form: the form's top-level window, created by the runtime. Properties
// 8 title, 9 border (0 none, 1 resizable, 2 fixed dialog frame, 3-6 fixed frames), 10 background
// colour, 11 background picture (drawn at the top-left corner).
#pragma once

#include "forms/properties.h"
#include "forms/win32/control.h"

namespace quillet::forms::win32 {

class FormWindow : public TableControl<FormWindow> {
 public:
  FormWindow(const ControlSite& site, const WindowProperties& properties);
  static std::span<const PropertyRow<FormWindow>> properties();
  WindowProperties& stored() { return stored_; }
  const WindowProperties& stored() const { return stored_; }

  // The window styles of the stored border and boxes.
  static DWORD style_of(const WindowProperties& properties);
  static DWORD extended_style_of(const WindowProperties& properties);

  bool create() override;  // adopts site().form_window
  void erase(HDC dc) const;

  void show_title();
  void restyle();
  void recolour();
  void show_picture();

 private:
  WindowProperties stored_;
  UniqueBrush background_;
  Picture picture_;
};

}  // namespace quillet::forms::win32

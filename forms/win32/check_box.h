// CheckBox and RadioBox ("BUTTON" class). Properties 8 picture, 9 push-like, 10 flat,
// 11 caption, 12 text on the left, 13 horizontal and 14 vertical alignment, 15 text colour,
// 16 background colour, 17 font, 18 checked (for a radio box: selected). Event 0: clicked.
//
// Radio boxes in the same container form one exclusive group: selecting one, by a click or by
// writing property 18, clears the others.
#pragma once

#include "forms/properties.h"
#include "forms/win32/control.h"

namespace quillet::forms::win32 {

class CheckBox : public TableControl<CheckBox> {
 public:
  CheckBox(const ControlSite& site, bool radio) : TableControl(site), radio_(radio) {}
  static std::span<const PropertyRow<CheckBox>> properties();
  CheckBoxProperties& stored() { return stored_; }
  const CheckBoxProperties& stored() const { return stored_; }

  bool create() override;
  std::optional<std::int32_t> command_event(WORD code) override;
  HBRUSH colour_brush(HDC dc) override;

  bool checked() const;
  void set_checked(bool checked);
  void restyle();
  void refont();
  void recolour();
  void show_caption();
  void show_picture();

 private:
  bool radio_;
  CheckBoxProperties stored_;
  UniqueFont font_;
  UniqueBrush background_;
  Picture picture_;
};

}  // namespace quillet::forms::win32

// GroupBox: a frame with a caption ("BUTTON" class, group-box style) and the container of the
// controls stored in it. Properties 8 caption, 9 alignment, 10 text colour, 11 background
// colour, 12 font.
#pragma once

#include "forms/properties.h"
#include "forms/win32/control.h"

namespace quillet::forms::win32 {

class GroupBox : public TableControl<GroupBox> {
 public:
  using TableControl::TableControl;
  static std::span<const PropertyRow<GroupBox>> properties();
  GroupBoxProperties& stored() { return stored_; }
  const GroupBoxProperties& stored() const { return stored_; }

  bool create() override;
  bool is_container() const override { return true; }
  HBRUSH colour_brush(HDC dc) override;

  void restyle();
  void refont();
  void recolour();
  void show_caption();

 protected:
  LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  GroupBoxProperties stored_;
  UniqueFont font_;
  UniqueBrush background_;
};

}  // namespace quillet::forms::win32

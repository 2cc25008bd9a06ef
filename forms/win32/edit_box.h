// EditBox: a Win32 "EDIT" window configured from the stored properties. Texts cross into the
// window through the codec, so any bytes without NUL come back unchanged. Event 0: the
// content changed.
#pragma once

#include "forms/properties.h"
#include "forms/win32/control.h"

namespace quillet::forms::win32 {

class EditBox : public TableControl<EditBox> {
 public:
  using TableControl::TableControl;
  static std::span<const PropertyRow<EditBox>> properties();
  EditBoxProperties& stored() { return stored_; }
  const EditBoxProperties& stored() const { return stored_; }

  bool create() override;
  std::optional<std::int32_t> command_event(WORD code) override;
  HBRUSH colour_brush(HDC dc) override;

  std::string content() const;
  void set_content(std::string_view bytes);
  void restyle();
  void refont();
  void recolour();
  void apply_limit();

 private:
  DWORD window_style() const;
  EditBoxProperties stored_;
  UniqueFont font_;
  UniqueBrush background_;
};

}  // namespace quillet::forms::win32

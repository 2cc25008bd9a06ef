// Button: a push button ("BUTTON" class), the default button of its form when stored so.
// Properties 8 picture, 9 default button, 10 caption, 11 horizontal and 12 vertical alignment,
// 13 font. Event 0: clicked.
#pragma once

#include "forms/properties.h"
#include "forms/win32/control.h"

namespace quillet::forms::win32 {

class Button : public TableControl<Button> {
 public:
  using TableControl::TableControl;
  static std::span<const PropertyRow<Button>> properties();
  ButtonProperties& stored() { return stored_; }
  const ButtonProperties& stored() const { return stored_; }

  bool create() override;
  std::optional<std::int32_t> command_event(WORD code) override;
  bool is_default_button() const override { return stored_.default_button != 0; }

  void restyle();
  void refont();
  void show_caption();
  void show_picture();

 private:
  ButtonProperties stored_;
  UniqueFont font_;
  Picture picture_;
};

// Button styles for the stored alignments (0 left/top, 1 centre, 2 right/bottom).
DWORD horizontal_alignment_style(std::uint32_t alignment);
DWORD vertical_alignment_style(std::uint32_t alignment);

}  // namespace quillet::forms::win32

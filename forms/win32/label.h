// Label: text drawn by the runtime's own window class _QF_Label, in the stored font, with the
// fourth of its stored drawing colours as the text colour and the fifth as the background.
// Property 8 caption; the drawing options are not properties this program changes.
#pragma once

#include "forms/properties.h"
#include "forms/win32/control.h"

namespace quillet::forms::win32 {

class Label : public TableControl<Label> {
 public:
  using TableControl::TableControl;
  static std::span<const PropertyRow<Label>> properties();
  LabelProperties& stored() { return stored_; }
  const LabelProperties& stored() const { return stored_; }

  bool create() override;
  void show_caption();

  static constexpr int kTextColourWord = 3;
  static constexpr int kBackgroundWord = 4;

 protected:
  LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void paint(HDC dc) const;
  LabelProperties stored_;
  UniqueFont font_;
};

}  // namespace quillet::forms::win32

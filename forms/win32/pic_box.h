// PicBox: a picture drawn by the runtime's own window class _QF_PicBox on its background
// colour (the second stored word). Property 8: the picture file's bytes.
#pragma once

#include "forms/properties.h"
#include "forms/win32/control.h"

namespace quillet::forms::win32 {

class PicBox : public TableControl<PicBox> {
 public:
  using TableControl::TableControl;
  static std::span<const PropertyRow<PicBox>> properties();
  PicBoxProperties& stored() { return stored_; }
  const PicBoxProperties& stored() const { return stored_; }

  bool create() override;
  void show_picture();

  static constexpr int kBackgroundWord = 1;

 protected:
  LRESULT on_message(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void paint(HDC dc) const;
  PicBoxProperties stored_;
  Picture picture_;
};

}  // namespace quillet::forms::win32

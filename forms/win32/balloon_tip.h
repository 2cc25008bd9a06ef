// Q_tip: a balloon tip shown while the mouse rests over another control. The unit has no
// window of its own; its tip window (the system's tooltip class in balloon style) is created
// when the first tip is attached and goes with the form.
#pragma once

#include <optional>
#include <string_view>

#include "forms/win32/control.h"

namespace quillet::forms::win32 {

class BalloonTip : public TableControl<BalloonTip> {
 public:
  using TableControl::TableControl;
  ~BalloonTip() override;
  static std::span<const PropertyRow<BalloonTip>> properties() { return {}; }
  bool create() override { return true; }

  // Attaches the plain text to the target's window, over the given rectangle of it or all of
  // it, with a standard icon (1 information, 2 warning, 3 error) when icon >= 0. False when
  // the target has no window.
  bool attach(HWND target, std::string_view text, std::int32_t icon, std::optional<RECT> area);
  HWND tip_window() const { return tip_; }

 private:
  HWND tip_ = nullptr;
};

}  // namespace quillet::forms::win32

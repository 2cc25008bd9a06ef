#include "forms/win32/balloon_tip.h"

#include <commctrl.h>

#include "runtime/win32_text.h"

namespace quillet::forms::win32 {

BalloonTip::~BalloonTip() {
  if (tip_ != nullptr && IsWindow(tip_)) DestroyWindow(tip_);
}

bool BalloonTip::attach(HWND target, std::string_view text, std::int32_t icon, std::optional<RECT> area) {
  if (target == nullptr || !IsWindow(target)) return false;
  if (tip_ == nullptr || !IsWindow(tip_)) {
    static const bool initialised = [] {
      INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
      return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)initialised;
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_BALLOON | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, site().form_window, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (tip_ == nullptr) return false;
    SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);  // line breaks in the text take effect
  }
  std::wstring wide = runtime::win32::widen(text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = target;
  tool.uFlags = TTF_SUBCLASS | (area ? 0 : TTF_IDISHWND);
  tool.uId = reinterpret_cast<UINT_PTR>(target);
  if (area) tool.rect = *area;
  tool.lpszText = wide.data();
  SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));  // a second call replaces the tip
  if (SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) == FALSE) return false;
  if (icon >= 0) SendMessageW(tip_, TTM_SETTITLEW, static_cast<WPARAM>(icon), reinterpret_cast<LPARAM>(L""));
  return true;
}

}  // namespace quillet::forms::win32

#include "forms/win32/control.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "forms/win32/form_runtime.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

// Bit 0 Ctrl, bit 1 Shift, bit 2 Alt, as the input events report them.
std::int64_t key_state() {
  std::int64_t state = 0;
  if (GetKeyState(VK_CONTROL) < 0) state |= 1;
  if (GetKeyState(VK_SHIFT) < 0) state |= 2;
  if (GetKeyState(VK_MENU) < 0) state |= 4;
  return state;
}

}  // namespace

void register_window_class(const wchar_t* name, WNDPROC procedure, UINT style, HBRUSH background) {
  WNDCLASSEXW window_class{sizeof window_class};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &window_class)) return;
  window_class = WNDCLASSEXW{sizeof window_class};
  window_class.style = style;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = background;
  window_class.lpszClassName = name;
  RegisterClassExW(&window_class);
}

std::int64_t character_code(WPARAM unit) {
  const std::string bytes = runtime::win32::narrow(std::wstring(1, static_cast<wchar_t>(unit)));
  std::int64_t code = 0;
  for (unsigned char byte : bytes) code = code << 8 | byte;
  return code;
}

WPARAM character_unit(std::int64_t code) {
  std::string bytes;
  if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
  bytes.push_back(static_cast<char>(code));
  const std::wstring wide = runtime::win32::widen(bytes);
  return wide.empty() ? 0 : wide[0];
}

std::optional<std::int32_t> input_event_number(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN: return -1;
    case WM_LBUTTONUP: return -2;
    case WM_LBUTTONDBLCLK: return -3;
    case WM_RBUTTONDOWN: return -4;
    case WM_RBUTTONUP: return -5;
    case WM_MOUSEMOVE: return -6;
    case WM_SETFOCUS: return -7;
    case WM_KILLFOCUS: return -8;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return -9;
    case WM_KEYUP:
    case WM_SYSKEYUP: return -10;
    case WM_CHAR: return -11;
    case WM_MOUSEWHEEL: return -12;
    default: return std::nullopt;
  }
}

bool raise_input_event(std::uint32_t form_id, std::uint32_t unit_id, UINT message, WPARAM* wparam, LPARAM lparam) {
  const std::optional<std::int32_t> event = input_event_number(message);
  if (!event || FormRuntime::instance().building(form_id)) return false;
  std::vector<std::int64_t> arguments;
  switch (*event) {
    case -1: case -2: case -3: case -4: case -5: case -6:
      arguments = {to_layout(static_cast<std::int16_t>(LOWORD(lparam))), to_layout(static_cast<std::int16_t>(HIWORD(lparam))),
                   key_state()};
      break;
    case -9: case -10:
      arguments = {static_cast<std::int64_t>(*wparam), key_state()};
      break;
    case -11:
      arguments = {character_code(*wparam)};
      break;
    case -12:
      arguments = {GET_WHEEL_DELTA_WPARAM(*wparam) / WHEEL_DELTA, key_state()};
      break;
    default:
      break;
  }
  const EventNotice notice = FormRuntime::instance().raise_event(form_id, unit_id, *event, std::move(arguments));
  if (!notice.handled) return false;
  if (notice.result == 0) return true;
  if (*event == -11) *wparam = character_unit(notice.result);
  return false;
}

Control::~Control() {
  if (window_ == nullptr || !subclassed_) return;  // an adopted window is its owner's
  RemoveWindowSubclass(window_, subclass_procedure, 1);
  if (IsWindow(window_)) DestroyWindow(window_);
}

HWND Control::make_child(const wchar_t* window_class, DWORD style, DWORD extended_style, std::string_view text) const {
  const Rect& rect = record().rect;
  const std::wstring wide = runtime::win32::widen(text);
  return CreateWindowExW(extended_style, window_class, wide.c_str(), style | WS_CHILD | WS_CLIPSIBLINGS,
                         to_device(site_.origin.x + rect.left), to_device(site_.origin.y + rect.top),
                         to_device(rect.width), to_device(rect.height),
                         site_.form_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(site_.child_id)),
                         GetModuleHandleW(nullptr), nullptr);
}

HWND Control::create_child(const wchar_t* window_class, DWORD style, DWORD extended_style, std::string_view text) {
  window_ = make_child(window_class, style, extended_style, text);
  if (window_ == nullptr) return nullptr;
  subclassed_ = SetWindowSubclass(window_, subclass_procedure, 1, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  reload_cursor();
  return window_;
}

// A class list that names no class of the style (a single space) leaves the window unthemed.
void Control::keep_stored_colours() const { SetWindowTheme(window_, L" ", L" "); }

void Control::swap_window(HWND fresh) {
  const HWND old = window_;
  const bool focused = GetFocus() == old;
  RECT rect{};
  GetWindowRect(old, &rect);
  MapWindowPoints(nullptr, site_.form_window, reinterpret_cast<POINT*>(&rect), 2);
  SetWindowPos(fresh, old, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOACTIVATE);
  EnableWindow(fresh, IsWindowEnabled(old));
  ShowWindow(fresh, (GetWindowLongPtrW(old, GWL_STYLE) & WS_VISIBLE) != 0 ? SW_SHOWNA : SW_HIDE);
  if (subclassed_) RemoveWindowSubclass(old, subclass_procedure, 1);
  window_ = fresh;
  subclassed_ = SetWindowSubclass(window_, subclass_procedure, 1, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  DestroyWindow(old);
  if (focused) SetFocus(fresh);
}

void Control::apply_state() const {
  if (window_ == nullptr || window_ == site_.form_window) return;
  ShowWindow(window_, record().visible() && site_.shown ? SW_SHOWNA : SW_HIDE);
  EnableWindow(window_, !record().disabled());
}

LRESULT Control::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  return default_message(message, wparam, lparam);
}

LRESULT Control::default_message(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefSubclassProc(window_, message, wparam, lparam);
}

void Control::set_font(HFONT font) const {
  if (window_ != nullptr) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font != nullptr ? font : default_font()), TRUE);
}

void Control::show_font(UniqueFont& font, std::string_view blob) const {
  font = font_from_blob(blob);
  set_font(font.get());
}

void Control::show_text(std::string_view bytes) const {
  if (window_ != nullptr) SetWindowTextW(window_, runtime::win32::widen(bytes).c_str());
}

void Control::repaint() const {
  if (window_ != nullptr) RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void Control::add_style(DWORD style, bool on) const {
  if (window_ == nullptr) return;
  const LONG_PTR old = GetWindowLongPtrW(window_, GWL_STYLE);
  SetWindowLongPtrW(window_, GWL_STYLE, on ? (old | style) : (old & ~static_cast<LONG_PTR>(style)));
}

LRESULT CALLBACK Control::subclass_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                             DWORD_PTR self) {
  auto* control = reinterpret_cast<Control*>(self);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, subclass_procedure, 1);
    control->subclassed_ = false;
    control->window_ = nullptr;
    return DefSubclassProc(window, message, wparam, lparam);
  }
  if (message == WM_SETCURSOR && control->cursor_ && LOWORD(lparam) == HTCLIENT) {
    SetCursor(control->cursor_.get());
    return TRUE;
  }
  if (input_event_number(message)) control->before_input_event(message);
  if (!IsWindow(window)) return 0;
  const bool swallowed = raise_input_event(control->form_id(), control->unit_id(), message, &wparam, lparam);
  if (!IsWindow(window)) return 0;  // the handler closed the form, and this control with it
  if (swallowed) return 0;
  return control->on_message(message, wparam, lparam);
}

}  // namespace quillet::forms::win32

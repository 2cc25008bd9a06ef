#include "forms/win32/edit_box.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <cstdio>

#include "forms/input_mode.h"
#include "forms/win32/form_runtime.h"
#include "runtime/cp936.h"
#include "runtime/message_box.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

// The system's limit when the stored maximum length is 0 (EDIT's own default is 30,000).
constexpr LPARAM kSystemLimit = 0x7FFFFFFE;

// Edit boxes are "EDIT" windows of the class _QF_Edit, which differs from EDIT only in giving
// each window a device context of its own. The EDIT procedure measures every line of a text
// it is given, each time through a fresh window DC; with a DC of the window's own, that DC is
// not made and torn down again once per line (on Wine's X11 driver, a third of writing a
// document of many lines).
const wchar_t* edit_window_class() {
  static const bool registered = [] {
    WNDCLASSEXW edit{sizeof edit};
    if (!GetClassInfoExW(nullptr, L"EDIT", &edit)) return false;
    edit.style = (edit.style & ~static_cast<UINT>(CS_PARENTDC | CS_CLASSDC)) | CS_OWNDC;
    edit.hInstance = GetModuleHandleW(nullptr);
    edit.lpszClassName = L"_QF_Edit";
    return RegisterClassExW(&edit) != 0;
  }();
  return registered ? L"_QF_Edit" : L"EDIT";
}

// Messages after which the window's text is what it was before: the selection, the modified
// flag, line queries, painting and hit testing. Any other message may change the text.
bool leaves_text_alone(UINT message) {
  switch (message) {
    case WM_GETTEXT: case WM_GETTEXTLENGTH: case EM_GETSEL: case EM_SETSEL: case EM_SCROLLCARET:
    case EM_GETMODIFY: case EM_SETMODIFY: case EM_CANUNDO: case EM_GETLINECOUNT: case EM_LINEINDEX:
    case EM_LINEFROMCHAR: case EM_LINELENGTH: case EM_GETFIRSTVISIBLELINE: case EM_POSFROMCHAR:
    case EM_CHARFROMPOS: case WM_PAINT: case WM_NCPAINT: case WM_ERASEBKGND: case WM_NCHITTEST:
    case WM_SETCURSOR: case WM_GETFONT: case WM_GETDLGCODE:
      return true;
    default:
      return false;
  }
}

// A property that needs a new window: stored, and the window re-created when it changed.
template <auto Field, std::uint32_t Largest>
PropertyRow<EditBox> recreating_row(int k) {
  return {k, PropertyType::Integer,
          [](const EditBox& box) -> PropertyValue { return static_cast<std::int64_t>(box.stored().*Field); },
          [](EditBox& box, const PropertyValue& value) {
            const auto wanted = static_cast<std::uint32_t>(std::clamp<std::int64_t>(number_of(value), 0, Largest));
            if (wanted == box.stored().*Field) return SetEffect::Done;
            box.stored().*Field = wanted;
            return SetEffect::Recreate;
          }};
}

}  // namespace

std::span<const PropertyRow<EditBox>> EditBox::properties() {
  using P = EditBoxProperties;
  static const PropertyRow<EditBox> kRows[] = {
      {0, PropertyType::Text, [](const EditBox& box) -> PropertyValue { return box.content(); },
       [](EditBox& box, const PropertyValue& value) {
         box.set_content(bytes_of(value));
         return SetEffect::Done;
       }},
      stored_row<EditBox, &P::border, &EditBox::restyle>(1, PropertyType::Integer),
      stored_row<EditBox, &P::text_colour, &EditBox::recolour>(2, PropertyType::Colour),
      stored_row<EditBox, &P::background_colour, &EditBox::recolour>(3, PropertyType::Colour),
      font_row<EditBox, &P::font, &EditBox::refont>(4),
      recreating_row<&P::hide_selection, 1>(5),
      stored_row<EditBox, &P::maximum_length, &EditBox::apply_limit>(6, PropertyType::Integer),
      recreating_row<&P::multi_line, 1>(7),
      recreating_row<&P::scroll_bars, 3>(8),
      stored_row<EditBox, &P::alignment, &EditBox::restyle>(9, PropertyType::Integer),
      stored_row<EditBox, &P::input_mode, &EditBox::apply_input_mode>(10, PropertyType::Integer),
      stored_row<EditBox, &P::password_character, &EditBox::apply_input_mode>(11, PropertyType::Integer),
      stored_row<EditBox, &P::case_conversion, &EditBox::restyle>(12, PropertyType::Integer),
      stored_row<EditBox, &P::adjuster, &EditBox::rebuild_adjuster>(13, PropertyType::Integer),
      stored_row<EditBox, &P::adjuster_minimum, &EditBox::apply_adjuster_range>(14, PropertyType::Integer),
      stored_row<EditBox, &P::adjuster_maximum, &EditBox::apply_adjuster_range>(15, PropertyType::Integer),
      {16, PropertyType::Integer,
       [](const EditBox& box) -> PropertyValue { return static_cast<std::int64_t>(box.selection().first); },
       [](EditBox& box, const PropertyValue& value) {
         box.select_from(number_of(value));
         return SetEffect::Done;
       }},
      {17, PropertyType::Integer,
       [](const EditBox& box) -> PropertyValue {
         const auto [start, end] = box.selection();
         return static_cast<std::int64_t>(end - start);
       },
       [](EditBox& box, const PropertyValue& value) {
         box.select_length(number_of(value));
         return SetEffect::Done;
       }},
      {18, PropertyType::Text, [](const EditBox& box) -> PropertyValue { return box.selected_text(); },
       [](EditBox& box, const PropertyValue& value) {
         box.replace_selection(bytes_of(value));
         return SetEffect::Done;
       }},
      element_row<EditBox, &P::binding_names, 0>(19, PropertyType::Text),  // kept; this program binds nothing
      element_row<EditBox, &P::binding_names, 1>(20, PropertyType::Text),
      // Read only: what reading the content would turn into "?".
      {21, PropertyType::Text, [](const EditBox& box) -> PropertyValue { return box.characters_lost_in_content(); },
       nullptr},
  };
  return kRows;
}

EditBox::~EditBox() {
  if (adjuster_ != nullptr && IsWindow(adjuster_)) DestroyWindow(adjuster_);
}

DWORD EditBox::window_style() const {
  static constexpr DWORD kAlignment[] = {ES_LEFT, ES_CENTER, ES_RIGHT};
  DWORD style = WS_TABSTOP | kAlignment[std::min<std::uint32_t>(stored_.alignment, 2)];
  if (stored_.hide_selection == 0) style |= ES_NOHIDESEL;
  if (stored_.case_conversion == 1) style |= ES_LOWERCASE;
  if (stored_.case_conversion == 2) style |= ES_UPPERCASE;
  if (stored_.input_mode == kReadOnlyMode) style |= ES_READONLY;
  if (stored_.input_mode == kPasswordMode) style |= ES_PASSWORD;
  if (stored_.border == 2 || stored_.border == 4) style |= WS_BORDER;
  if (stored_.multi_line != 0) {
    style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    // Without a horizontal scroll bar, long lines wrap at the window's edge.
    if ((stored_.scroll_bars & 1) != 0) style |= WS_HSCROLL | ES_AUTOHSCROLL;
    if ((stored_.scroll_bars & 2) != 0) style |= WS_VSCROLL;
  } else {
    style |= ES_AUTOHSCROLL;
  }
  return style;
}

// Borders: 0 none, 1 sunken, 2 flat line, 3 static edge, 4 flat line with a raised edge, 5 raised.
DWORD EditBox::extended_style() const {
  switch (stored_.border) {
    case 1: return WS_EX_CLIENTEDGE;
    case 3: return WS_EX_STATICEDGE;
    case 4: return WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
    case 5: return WS_EX_DLGMODALFRAME;
    default: return 0;
  }
}

bool EditBox::create() {
  const std::optional<EditBoxProperties> properties = decode_properties<EditBoxProperties>(record().properties);
  if (!properties) return false;
  stored_ = *properties;
  stored_.alignment = std::min<std::uint32_t>(stored_.alignment, 2);
  stored_.border = std::min<std::uint32_t>(stored_.border, 5);
  stored_.scroll_bars = std::min<std::uint32_t>(stored_.scroll_bars, 3);
  stored_.input_mode = std::min(stored_.input_mode, kLastInputMode);
  if (create_child(edit_window_class(), window_style(), extended_style(), "") == nullptr) return false;
  font_ = font_from_blob(stored_.font);
  background_ = brush_of(stored_.background_colour);
  configure_window();
  quiet_ = true;
  set_content(stored_.content);
  quiet_ = false;
  rebuild_adjuster();
  select(static_cast<std::size_t>(std::max(stored_.selection_start, 0)),
         static_cast<std::size_t>(std::max(stored_.selection_start, 0)) + static_cast<std::size_t>(std::max(stored_.selection_length, 0)));
  return true;
}

// Everything a new window needs from the stored properties besides its styles and text.
void EditBox::configure_window() {
  apply_limit();
  set_font(font_.get());
  SendMessageW(window(), EM_SETPASSWORDCHAR, stored_.input_mode == kPasswordMode ? stored_.password_character : 0, 0);
  fit_single_line_height();
  SetWindowPos(window(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void EditBox::recreate() {
  const std::wstring text = window_text();
  DWORD start = 0, end = 0;
  SendMessageW(window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const bool modified = SendMessageW(window(), EM_GETMODIFY, 0, 0) != 0;
  const HWND fresh = make_child(edit_window_class(), window_style(), extended_style(), "");
  if (fresh == nullptr) return;  // the old window stays, with the old behaviour
  swap_window(fresh);
  forget_text();
  configure_window();
  quiet_ = true;  // the same text: no change to report
  SetWindowTextW(window(), text.c_str());
  quiet_ = false;
  SendMessageW(window(), EM_SETSEL, start, end);
  SendMessageW(window(), EM_SCROLLCARET, 0, 0);
  // The modified flag belongs to the document, not to the window: a new window must not make
  // unsaved text look saved.
  SendMessageW(window(), EM_SETMODIFY, modified ? TRUE : FALSE, 0);
  rebuild_adjuster();
}

std::optional<std::int32_t> EditBox::command_event(WORD code) {
  return code == EN_CHANGE && !quiet_ ? std::optional<std::int32_t>(0) : std::nullopt;
}

HBRUSH EditBox::colour_brush(HDC dc) {
  SetTextColor(dc, colour_of(stored_.text_colour));
  SetBkColor(dc, colour_of(stored_.background_colour));
  return background_.get();
}

const std::wstring& EditBox::window_text() const {
  if (!text_) {
    const int length = GetWindowTextLengthW(window());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window(), text.data(), length + 1)));
    text_ = std::move(text);
    ++text_reads_;
  }
  return *text_;
}

std::string EditBox::content() const { return runtime::win32::narrow(window_text()); }

void EditBox::set_content(std::string_view bytes) {
  const bool was_quiet = quiet_;
  quiet_ = true;  // the window's own notice, sent by single-line boxes only, is replaced by ours
  SetWindowTextW(window(), runtime::win32::widen(bytes).c_str());
  quiet_ = was_quiet;
  if (!was_quiet) report_content_changed();  // the last use of the box: its handler may close the form
}

void EditBox::report_content_changed() const {
  FormRuntime& runtime = FormRuntime::instance();
  if (!runtime.building(form_id())) runtime.raise_event(form_id(), unit_id(), 0);
}

void EditBox::replace_all_undoably(std::string_view bytes, bool caret_at_end) {
  const std::wstring wide = runtime::win32::widen(bytes);
  // The part the old and new texts begin with stays in the window: the window lays out only
  // what follows it, so adding to the end of a long text costs what the addition costs.
  // Compared in the window's units, so it ends where a character ends in both texts.
  const std::wstring& old = window_text();
  const std::size_t kept = static_cast<std::size_t>(
      std::mismatch(old.begin(), old.end(), wide.begin(), wide.end()).first - old.begin());
  const bool deletes = kept < old.size();
  // Only this edit may be undone afterwards: an older deletion at the same place would
  // otherwise be joined to it and come back too.
  SendMessageW(window(), EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(window(), EM_SETSEL, kept, -1);
  // Deleting and then inserting at the same place make one undo step, as typing over a
  // selection does. In two steps, because the EDIT procedure lays out a replacement of a
  // long text over the old one far more slowly than the same text into an empty window.
  if (deletes) SendMessageW(window(), WM_CLEAR, 0, 0);
  SendMessageW(window(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str() + kept));
  // Where writing the content leaves the caret: at the start, in view; or where appending
  // leaves it.
  const WPARAM caret = caret_at_end ? wide.size() : 0;
  SendMessageW(window(), EM_SETSEL, caret, caret);
  SendMessageW(window(), EM_SCROLLCARET, 0, 0);
}

// Offsets map through the window's own UTF-16 text, read once per operation, without encoding
// the whole document.
std::pair<std::size_t, std::size_t> EditBox::selection_in(std::u16string_view units) const {
  DWORD start = 0, end = 0;
  SendMessageW(window(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const runtime::Cp936Codec& codec = runtime::Cp936Codec::system();
  start = std::min<DWORD>(start, static_cast<DWORD>(units.size()));
  end = std::clamp<DWORD>(end, start, static_cast<DWORD>(units.size()));
  const std::size_t start_bytes = codec.encoded_size(units.substr(0, start));
  return {start_bytes, start_bytes + codec.encoded_size(units.substr(start, end - start))};
}

void EditBox::select_in(std::u16string_view units, std::size_t start, std::size_t end) {
  const runtime::Cp936Codec& codec = runtime::Cp936Codec::system();
  const std::size_t first = codec.units_within(units, start);
  const std::size_t last =
      start >= end ? first
                   : first + codec.units_within(units.substr(first), end - codec.encoded_size(units.substr(0, first)));
  SendMessageW(window(), EM_SETSEL, first, last);
  SendMessageW(window(), EM_SCROLLCARET, 0, 0);
}

std::pair<std::size_t, std::size_t> EditBox::selection() const {
  return selection_in(runtime::win32::as_units(window_text()));
}

void EditBox::select(std::size_t start, std::size_t end) {
  select_in(runtime::win32::as_units(window_text()), start, end);
}

void EditBox::select_from(std::int64_t start) {
  const std::u16string_view units = runtime::win32::as_units(window_text());
  const std::size_t total = runtime::Cp936Codec::system().encoded_size(units);
  const std::size_t at = start < 0 ? total : std::min(static_cast<std::size_t>(start), total);
  select_in(units, at, at);
}

void EditBox::select_length(std::int64_t length) {
  const std::u16string_view units = runtime::win32::as_units(window_text());
  const std::size_t total = runtime::Cp936Codec::system().encoded_size(units);
  if (length < 0) return select_in(units, 0, total);
  const std::size_t start = selection_in(units).first;
  select_in(units, start, start + std::min(static_cast<std::size_t>(length), total - start));
}

std::string EditBox::selected_text() const {
  const std::wstring& text = window_text();
  const auto [start, end] = selection_in(runtime::win32::as_units(text));
  return runtime::win32::narrow(text).substr(start, end - start);
}

void EditBox::replace_selection(std::string_view bytes) {
  SendMessageW(window(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(runtime::win32::widen(bytes).c_str()));
}

void EditBox::append(std::string_view bytes) {
  const int end = GetWindowTextLengthW(window());
  SendMessageW(window(), EM_SETSEL, end, end);
  SendMessageW(window(), EM_SCROLLCARET, 0, 0);
  replace_selection(bytes);
}

void EditBox::restyle() {
  stored_.alignment = std::min<std::uint32_t>(stored_.alignment, 2);
  stored_.border = std::min<std::uint32_t>(stored_.border, 5);
  stored_.case_conversion = std::min<std::uint32_t>(stored_.case_conversion, 2);
  constexpr DWORD kRestyled = ES_CENTER | ES_RIGHT | ES_LOWERCASE | ES_UPPERCASE | WS_BORDER;
  add_style(kRestyled, false);
  add_style(window_style() & kRestyled, true);
  SetWindowLongPtrW(window(), GWL_EXSTYLE, extended_style());
  SetWindowPos(window(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  repaint();
}

void EditBox::refont() {
  show_font(font_, stored_.font);
  fit_single_line_height();
  SetWindowPos(window(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void EditBox::recolour() {
  background_ = brush_of(stored_.background_colour);
  repaint();
}

void EditBox::apply_limit() {
  stored_.maximum_length = std::max(stored_.maximum_length, 0);
  SendMessageW(window(), EM_SETLIMITTEXT, stored_.maximum_length == 0 ? kSystemLimit : stored_.maximum_length, 0);
}

void EditBox::apply_input_mode() {
  stored_.input_mode = std::min(stored_.input_mode, kLastInputMode);
  SendMessageW(window(), EM_SETREADONLY, stored_.input_mode == kReadOnlyMode, 0);
  SendMessageW(window(), EM_SETPASSWORDCHAR, stored_.input_mode == kPasswordMode ? stored_.password_character : 0, 0);
  repaint();
}

void EditBox::rebuild_adjuster() {
  if (adjuster_ != nullptr && IsWindow(adjuster_)) DestroyWindow(adjuster_);
  adjuster_ = nullptr;
  if (stored_.adjuster == 0 || stored_.multi_line != 0) return;
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
    return InitCommonControlsEx(&classes) != FALSE;
  }();
  (void)initialised;
  const bool static_edge = stored_.border == 0 || stored_.border == 1 || stored_.border == 3;
  const bool shown = (GetWindowLongPtrW(window(), GWL_STYLE) & WS_VISIBLE) != 0;
  adjuster_ = CreateWindowExW(static_edge ? WS_EX_STATICEDGE : 0, UPDOWN_CLASSW, L"",
                              WS_CHILD | (shown ? WS_VISIBLE : 0) | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS |
                                  UDS_NOTHOUSANDS,
                              0, 0, 0, 0, site().form_window, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(adjuster_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(window()), 0);
  apply_adjuster_range();
}

void EditBox::apply_adjuster_range() {
  if (adjuster_ == nullptr) return;
  SendMessageW(adjuster_, UDM_SETRANGE32, std::min(stored_.adjuster_minimum, stored_.adjuster_maximum),
               std::max(stored_.adjuster_minimum, stored_.adjuster_maximum));
}

int EditBox::line_height() const {
  HDC dc = GetDC(window());
  const HGDIOBJ old = SelectObject(dc, font_ ? font_.get() : default_font());
  SIZE size{};
  GetTextExtentPoint32W(dc, L"W", 1, &size);
  SelectObject(dc, old);
  ReleaseDC(window(), dc);
  return size.cy;
}

// A single-line box shorter than a line of its font plus the edges is made that tall.
void EditBox::fit_single_line_height() {
  if (stored_.multi_line != 0) return;
  RECT rect{};
  GetWindowRect(window(), &rect);
  const int wanted = line_height() + 2 * GetSystemMetrics(SM_CYEDGE);
  if (rect.bottom - rect.top >= wanted) return;
  SetWindowPos(window(), nullptr, 0, 0, rect.right - rect.left, wanted, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The band around a centred single line lies outside the client area: paint it as background.
void EditBox::paint_centring_band() const {
  HDC dc = GetWindowDC(window());
  RECT outer{};
  GetWindowRect(window(), &outer);
  OffsetRect(&outer, -outer.left, -outer.top);
  RECT client{};
  GetClientRect(window(), &client);
  MapWindowPoints(window(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  RECT frame{};
  GetWindowRect(window(), &frame);
  OffsetRect(&client, -frame.left, -frame.top);
  const int edge = (extended_style() & WS_EX_CLIENTEDGE) != 0 ? GetSystemMetrics(SM_CXEDGE)
                   : (window_style() & WS_BORDER) != 0        ? 1
                                                               : 0;
  InflateRect(&outer, -edge, -edge);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  FillRect(dc, &outer, background_.get());
  ReleaseDC(window(), dc);
}

void EditBox::before_input_event(UINT message) {
  if (message == WM_KILLFOCUS) normalise();
}

void EditBox::normalise() {
  const std::string text = content();
  const std::optional<std::string> fixed = normalised(stored_.input_mode, text);
  if (!fixed || *fixed == text) return;
  const std::size_t start = selection().first;
  quiet_ = true;
  set_content(*fixed);
  quiet_ = false;
  select_from(static_cast<std::int64_t>(std::min(start, fixed->size())));
  // Last: the event's handler may re-create this box or close its form, and with it the box.
  report_content_changed();
}

LRESULT EditBox::on_message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (leaves_text_alone(message)) return handle_message(message, wparam, lparam);
  // The kept text is dropped before the message (a handler it notifies may read the text
  // half-way) and again once the window has finished with it.
  forget_text();
  const LRESULT result = handle_message(message, wparam, lparam);
  forget_text();
  return result;
}

void EditBox::refuse(const std::u32string& characters) const {
  const std::string message = "下列字符无法用 GBK 编码保存，没有输入：" + runtime::code_point_list(characters) + "。";
  runtime::message_box(message, "提示", MB_ICONEXCLAMATION,
                       reinterpret_cast<std::uintptr_t>(GetAncestor(window(), GA_ROOT)));
}

bool EditBox::keeps_out(char16_t unit) {
  if (runtime::is_high_surrogate(unit)) {
    pending_high_ = unit;
    return true;
  }
  if (runtime::is_low_surrogate(unit)) {
    const char32_t character = pending_high_ != 0 ? runtime::surrogate_pair(pending_high_, unit) : unit;
    pending_high_ = 0;
    refuse({character});
    return true;
  }
  pending_high_ = 0;
  if (runtime::Cp936Codec::system().holds(unit)) return false;
  refuse({unit});
  return true;
}

// Inserts the part of the units the code page holds as the user's own edit (one undo step)
// and tells what was left out; false, with nothing done, when it holds them all.
bool EditBox::insert_what_it_holds(std::u16string_view units) {
  const runtime::Cp936Codec& codec = runtime::Cp936Codec::system();
  const std::u32string refused = codec.lost_in_encoding(units, true);
  if (refused.empty()) return false;
  std::u16string kept;
  for (const char16_t unit : units) {
    if (codec.holds(unit)) kept += unit;
  }
  const std::wstring wide(kept.begin(), kept.end());
  SendMessageW(window(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
  refuse(refused);
  return true;
}

bool EditBox::paste_what_it_holds() {
  if (stored_.input_mode == kReadOnlyMode || !OpenClipboard(window())) return false;
  std::u16string units;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* text = static_cast<const char16_t*>(GlobalLock(data))) {
      units = text;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return insert_what_it_holds(units);
}

bool EditBox::compose_what_it_holds(LPARAM parts) {
  if ((parts & GCS_RESULTSTR) == 0) return false;
  HIMC context = ImmGetContext(window());
  if (context == nullptr) return false;
  const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
  std::u16string units(bytes > 0 ? static_cast<std::size_t>(bytes) / sizeof(char16_t) : 0, u'\0');
  if (!units.empty()) ImmGetCompositionStringW(context, GCS_RESULTSTR, units.data(), static_cast<DWORD>(bytes));
  ImmReleaseContext(window(), context);
  return insert_what_it_holds(units);
}

std::string EditBox::characters_lost_in_content() const {
  const std::wstring& wide = window_text();
  return runtime::code_point_list(runtime::Cp936Codec::system().lost_in_encoding(std::u16string_view(
      reinterpret_cast<const char16_t*>(wide.data()), wide.size())));
}

LRESULT EditBox::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
      if (!accepts_character(stored_.input_mode, static_cast<std::uint32_t>(character_code(wparam)))) return 0;
      if (keeps_out(static_cast<char16_t>(wparam))) return 0;
      break;
    case WM_PASTE:
      if (paste_what_it_holds()) return 0;
      break;
    case WM_IME_COMPOSITION:
      if (compose_what_it_holds(lparam)) return 0;
      break;
    case WM_GETDLGCODE: {
      LRESULT code = default_message(message, wparam, lparam);
      // A multi-line box that can be typed into keeps Enter for itself.
      if (stored_.multi_line != 0 && stored_.input_mode != kReadOnlyMode) code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_NCCALCSIZE: {
      const LRESULT result = default_message(message, wparam, lparam);
      if (stored_.multi_line == 0) {
        // Single-line text is centred vertically: the client area is one line high.
        auto* client = reinterpret_cast<RECT*>(lparam);
        const int line = line_height();
        const int height = client->bottom - client->top;
        if (height > line) {
          client->top += (height - line) / 2;
          client->bottom = client->top + line;
        }
      }
      return result;
    }
    case WM_NCPAINT: {
      const LRESULT result = default_message(message, wparam, lparam);
      if (stored_.multi_line == 0) paint_centring_band();
      return result;
    }
    default:
      break;
  }
  return default_message(message, wparam, lparam);
}

}  // namespace quillet::forms::win32

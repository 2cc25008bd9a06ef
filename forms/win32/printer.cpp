#include "forms/win32/printer.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>

#include "forms/win32/common_dialog.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

using UniqueGlobal = runtime::win32::UniqueWin32<HGLOBAL, GlobalFree>;

constexpr wchar_t kProgressClass[] = L"_QF_Printer";
constexpr int kCancelId = IDCANCEL;
constexpr int kLineGap = 2;  // device units between lines

std::string& output_file() {
  static std::string file;
  return file;
}

// Hundredths of a millimetre as device units.
int device_units(std::uint32_t hundredths, int dots_per_inch) {
  return MulDiv(static_cast<int>(hundredths), dots_per_inch, 2540);
}

std::wstring devnames_text(const DEVNAMES* names, WORD offset) {
  return std::wstring(reinterpret_cast<const wchar_t*>(names) + offset);
}

}  // namespace

LRESULT CALLBACK progress_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* printer = reinterpret_cast<Printer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wparam) == kCancelId && printer != nullptr) printer->cancel();
      return 0;
    case WM_CLOSE:
      if (printer != nullptr) printer->cancel();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (printer != nullptr) {
        const HGDIOBJ old = SelectObject(dc, default_font());
        SetBkMode(dc, TRANSPARENT);
        wchar_t page[64];
        std::swprintf(page, 64, L"\u6B63\u5728\u6253\u5370\u7B2C %d \u9875", printer->page());  // 正在打印第 %d 页
        const std::wstring lines[] = {printer->progress_lines_[0], printer->progress_lines_[1], page};
        for (int i = 0; i < 3; ++i) {
          TextOutW(dc, to_device(16), to_device(12 + 22 * i), lines[i].c_str(), static_cast<int>(lines[i].size()));
        }
        SelectObject(dc, old);
      }
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}


void set_print_output_file(std::string file) { output_file() = std::move(file); }

std::vector<std::wstring_view> print_lines_of(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < text.size() || lines.empty()) lines.push_back(text.substr(start));
  return lines;
}

std::span<const PropertyRow<Printer>> Printer::properties() {
  using P = PrinterProperties;
  using T = PropertyType;
  static const PropertyRow<Printer> kRows[] = {
      stored_row<Printer, &P::paper>(0, T::Integer),
      stored_row<Printer, &P::orientation>(1, T::Integer),
      stored_row<Printer, &P::copies>(2, T::Integer),
      element_row<Printer, &P::margins, 0>(3, T::Integer),
      element_row<Printer, &P::margins, 1>(4, T::Integer),
      element_row<Printer, &P::margins, 2>(5, T::Integer),
      element_row<Printer, &P::margins, 3>(6, T::Integer),
      stored_row<Printer, &P::first_page>(7, T::Integer),
      stored_row<Printer, &P::last_page>(8, T::Integer),
      stored_row<Printer, &P::collate>(9, T::Logical),
      stored_row<Printer, &P::selection>(10, T::Integer),
      stored_row<Printer, &P::document_name>(11, T::Text),
      font_row<Printer, &P::font>(12),
  };
  return kRows;
}

Printer::~Printer() {
  if (printing()) end();
}

bool Printer::create() {
  const std::optional<PrinterProperties> properties = decode_properties<PrinterProperties>(record().properties);
  if (!properties) return false;
  stored_ = *properties;
  return true;
}

bool Printer::start(bool use_dialog, bool show_progress) {
  if (printing()) return false;
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = site().form_window;
  dialog.Flags = PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE;
  if (stored_.first_page < 0) {
    dialog.Flags |= PD_NOPAGENUMS;
  } else {
    dialog.nMinPage = 1;
    dialog.nMaxPage = 0xFFFF;
    dialog.nFromPage = static_cast<WORD>(std::clamp(stored_.first_page, 1, 0xFFFF));
    dialog.nToPage = static_cast<WORD>(std::clamp(std::max(stored_.last_page, stored_.first_page), 1, 0xFFFF));
  }
  if (stored_.collate == 1) dialog.Flags |= PD_COLLATE;
  if (stored_.selection < 0) dialog.Flags |= PD_NOSELECTION;
  if (stored_.selection > 0) dialog.Flags |= PD_SELECTION;
  dialog.nCopies = static_cast<WORD>(std::clamp<std::uint32_t>(stored_.copies, 1, 0xFFFF));
  if (!use_dialog) dialog.Flags |= PD_RETURNDEFAULT;
  if (!PrintDlgW(&dialog)) return false;
  const UniqueGlobal mode(dialog.hDevMode), names(dialog.hDevNames);
  UniqueDc dc(dialog.hDC);
  std::wstring device, port;
  if (const auto* devnames = static_cast<const DEVNAMES*>(GlobalLock(names.get()))) {
    device = devnames_text(devnames, devnames->wDeviceOffset);
    port = devnames_text(devnames, devnames->wOutputOffset);
    if (!dc) dc.reset(CreateDCW(devnames_text(devnames, devnames->wDriverOffset).c_str(), device.c_str(), nullptr,
                                static_cast<const DEVMODEW*>(GlobalLock(mode.get()))));
    GlobalUnlock(names.get());
    if (mode) GlobalUnlock(mode.get());
  }
  if (!dc) return false;
  if (use_dialog) {  // the user's choices become the unit's settings
    stored_.copies = dialog.nCopies;
    if (stored_.selection >= 0) stored_.selection = (dialog.Flags & PD_SELECTION) != 0 ? 1 : 0;
    stored_.collate = (dialog.Flags & PD_COLLATE) != 0 ? 1 : 0;
    if (stored_.first_page >= 0) {
      stored_.first_page = dialog.nFromPage;
      stored_.last_page = dialog.nToPage;
    }
  }

  std::string output = output_file();
  if (output.empty() && (dialog.Flags & PD_PRINTTOFILE) != 0) {
    output = ask_for_file(site().form_window, true, "打印到文件", "打印输出文件 (*.prn)|*.prn|所有文件 (*.*)|*.*||",
                          "Output.prn", OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);
    if (output.empty()) return false;
  }

  // The page: its physical size, where the printable area starts, and the margins measured
  // from the paper's edge, less what the device cannot print anyway.
  const int dpi_x = GetDeviceCaps(dc.get(), LOGPIXELSX), dpi_y = GetDeviceCaps(dc.get(), LOGPIXELSY);
  const int physical_height = GetDeviceCaps(dc.get(), PHYSICALHEIGHT);
  const int offset_x = GetDeviceCaps(dc.get(), PHYSICALOFFSETX), offset_y = GetDeviceCaps(dc.get(), PHYSICALOFFSETY);
  const int printable_height = GetDeviceCaps(dc.get(), VERTRES);
  const int unprintable_bottom = std::max(0, physical_height - offset_y - printable_height);
  left_ = std::max(0, device_units(stored_.margins[0], dpi_x) - offset_x);
  top_ = std::max(0, device_units(stored_.margins[1], dpi_y) - offset_y);
  const int bottom = std::max(0, device_units(stored_.margins[3], dpi_y) - unprintable_bottom);
  printable_height_ = std::max(1, printable_height - top_ - bottom);

  const std::wstring document = stored_.document_name.empty() ? L"未命名打印作业" : runtime::win32::widen(stored_.document_name);
  cancelled_ = false;
  page_ = 1;
  if (show_progress) {
    register_window_class(kProgressClass, progress_procedure, 0, GetSysColorBrush(COLOR_BTNFACE));
    wchar_t where[512];
    std::swprintf(where, 512, L"%ls \u4E0A\u7684 %ls", device.c_str(), port.c_str());  // "%s 上的 %s"
    progress_lines_[0] = document;
    progress_lines_[1] = where;
    progress_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kProgressClass, L"\u6253\u5370", WS_POPUP | WS_CAPTION,  // 打印
                                CW_USEDEFAULT, CW_USEDEFAULT, to_device(360), to_device(150), site().form_window, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(progress_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    CreateWindowExW(0, L"BUTTON", L"\u53D6\u6D88", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, to_device(140),
                    to_device(84), to_device(80), to_device(22), progress_,  // 取消
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCancelId)), GetModuleHandleW(nullptr), nullptr);
    ShowWindow(progress_, SW_SHOWNA);
    UpdateWindow(progress_);
  }

  const std::wstring output_wide = runtime::win32::widen(output);
  DOCINFOW info{};
  info.cbSize = sizeof info;
  info.lpszDocName = document.c_str();
  info.lpszOutput = output_wide.empty() ? nullptr : output_wide.c_str();
  if (StartDocW(dc.get(), &info) <= 0) {
    close_progress();
    return false;  // the device context goes with dc
  }
  dc_ = std::move(dc);
  const FontValue font = font_value_of(stored_.font);
  LOGFONTW logical{};
  logical.lfHeight = -MulDiv(font.size, dpi_y, 72);
  logical.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logical.lfItalic = font.italic;
  logical.lfUnderline = font.underline;
  logical.lfStrikeOut = font.strike_out;
  logical.lfCharSet = GB2312_CHARSET;
  const std::wstring face = runtime::win32::widen(font.face).substr(0, LF_FACESIZE - 1);
  std::copy(face.begin(), face.end(), logical.lfFaceName);
  font_.reset(CreateFontIndirectW(&logical));
  x_ = y_ = 0;
  new_page();
  return true;
}

void Printer::new_page() {
  StartPage(dc_.get());
  page_open_ = true;
  SelectObject(dc_.get(), font_ ? font_.get() : default_font());  // a new page starts with the device's defaults
  SetBkMode(dc_.get(), TRANSPARENT);
  y_ = 0;
  if (progress_ != nullptr) InvalidateRect(progress_, nullptr, TRUE);
}

void Printer::pump_progress() {
  if (progress_ == nullptr) return;
  MSG message;
  while (PeekMessageW(&message, progress_, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  for (HWND child = GetWindow(progress_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    while (PeekMessageW(&message, child, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

// The height of a line in the job's font; an empty line is as high as "W".
int Printer::line_height(std::wstring_view line) const {
  SIZE size{};
  if (line.empty()) line = L"W";
  GetTextExtentPoint32W(dc_.get(), line.data(), static_cast<int>(line.size()), &size);
  return size.cy;
}

int Printer::line_advance(std::string_view line) const {
  return printing() ? line_height(runtime::win32::widen(line)) + kLineGap : 0;
}

void Printer::print_line(std::wstring_view line) {
  const int height = line_height(line);
  if (y_ > 0 && y_ + height > printable_height_) {
    EndPage(dc_.get());
    ++page_;
    new_page();
  }
  // No wrapping: what passes the page's right edge is cut off there.
  if (!line.empty()) TextOutW(dc_.get(), left_ + x_, top_ + y_, line.data(), static_cast<int>(line.size()));
  y_ += height + kLineGap;
}

void Printer::print_lines(const std::vector<std::string>& texts) {
  if (!printing()) return;
  if (!page_open_) new_page();
  for (const std::string& text : texts) {
    const std::wstring wide = runtime::win32::widen(text);
    for (const std::wstring_view line : print_lines_of(wide)) {
      pump_progress();
      if (cancelled_) return;
      print_line(line);
    }
    x_ = 0;  // the next value starts on a line of its own
  }
}

void Printer::end() {
  if (!printing()) return;
  if (cancelled_) {
    AbortDoc(dc_.get());
  } else {
    if (page_open_) EndPage(dc_.get());
    EndDoc(dc_.get());
  }
  page_open_ = false;
  dc_.reset();
  font_.reset();
  close_progress();
}

void Printer::close_progress() {
  if (progress_ != nullptr && IsWindow(progress_)) DestroyWindow(progress_);
  progress_ = nullptr;
}

}  // namespace quillet::forms::win32

#include "forms/win32/common_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "runtime/cp936.h"
#include "runtime/message_box.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

constexpr std::size_t kFileNameRoom = 32768;  // the longest path the system takes
constexpr std::uint32_t kOpenKind = 0, kSaveKind = 1, kFontKind = 2;

}  // namespace

std::span<const PropertyRow<CommonDialog>> CommonDialog::properties() {
  using P = CommonDlgProperties;
  using T = PropertyType;
  static const PropertyRow<CommonDialog> kRows[] = {
      stored_row<CommonDialog, &P::kind>(0, T::Integer),
      stored_row<CommonDialog, &P::title>(1, T::Text),
      stored_row<CommonDialog, &P::file_name>(2, T::Text),
      stored_row<CommonDialog, &P::filter>(3, T::Text),
      stored_row<CommonDialog, &P::filter_index>(4, T::Integer),
      stored_row<CommonDialog, &P::initial_folder>(5, T::Text),
      stored_row<CommonDialog, &P::default_extension>(6, T::Text),
      stored_row<CommonDialog, &P::create_prompt>(7, T::Logical),
      stored_row<CommonDialog, &P::file_must_exist>(8, T::Logical),
      stored_row<CommonDialog, &P::overwrite_prompt>(9, T::Logical),
      stored_row<CommonDialog, &P::path_must_exist>(10, T::Logical),
      stored_row<CommonDialog, &P::keep_current_folder>(11, T::Logical),
      stored_row<CommonDialog, &P::colour>(12, T::Colour),
      stored_row<CommonDialog, &P::bold>(13, T::Logical),
      stored_row<CommonDialog, &P::italic>(14, T::Logical),
      stored_row<CommonDialog, &P::underline>(15, T::Logical),
      stored_row<CommonDialog, &P::strike_out>(16, T::Logical),
      stored_row<CommonDialog, &P::font_name>(17, T::Text),
      stored_row<CommonDialog, &P::font_size>(18, T::Integer),
      stored_row<CommonDialog, &P::text27>(19, T::Text),
      stored_row<CommonDialog, &P::word28>(20, T::Integer),
      stored_row<CommonDialog, &P::word29>(21, T::Integer),
  };
  return kRows;
}

bool CommonDialog::create() {
  const std::optional<CommonDlgProperties> properties = decode_properties<CommonDlgProperties>(record().properties);
  if (!properties) return false;
  stored_ = *properties;
  return true;
}

bool CommonDialog::open() {
  switch (stored_.kind) {
    case kOpenKind:
    case kSaveKind: return open_file_dialog();
    case kFontKind: return open_font_dialog();
    default: return false;  // kind 3 opens a form's help file; this program has none
  }
}

std::wstring file_dialog_filter(std::string_view filter) {
  std::wstring wide = runtime::win32::widen(filter);
  if (wide.size() < 2 || wide.compare(wide.size() - 2, 2, L"||") != 0) wide += L"||";
  std::replace(wide.begin(), wide.end(), L'|', L'\0');
  return wide;
}

namespace {

std::string run_file_dialog(HWND owner, bool save, const std::wstring& title, const std::wstring& filter,
                            DWORD filter_index, const std::wstring& folder, const std::wstring& extension,
                            std::string_view file_name, DWORD flags) {
  std::vector<wchar_t> name(kFileNameRoom, L'\0');
  const std::wstring initial = runtime::win32::widen(file_name).substr(0, kFileNameRoom - 1);
  std::copy(initial.begin(), initial.end(), name.begin());
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = filter.empty() ? 0 : filter_index;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY;
  const BOOL confirmed = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!confirmed) return std::string();
  // A name the code page cannot hold would reach the file calls with "?" in it: refused here,
  // with the reason, as if the dialog had been cancelled.
  const std::u16string_view chosen(reinterpret_cast<const char16_t*>(name.data()), std::wcslen(name.data()));
  const std::u32string lost = runtime::Cp936Codec::system().lost_in_encoding(chosen);
  if (!lost.empty()) {
    runtime::message_box("所选的文件名中有 GBK 无法表示的字符：" + runtime::code_point_list(lost) + "。请换一个文件名。",
                         "错误", MB_ICONERROR, reinterpret_cast<std::uintptr_t>(owner));
    return std::string();
  }
  return runtime::win32::narrow(name.data());
}

}  // namespace

std::string ask_for_file(HWND owner, bool save, std::string_view title, std::string_view filter,
                         std::string_view file_name, DWORD flags) {
  return run_file_dialog(owner, save, runtime::win32::widen(title), file_dialog_filter(filter), 1, L"", L"",
                         file_name, flags);
}

bool CommonDialog::open_file_dialog() {
  DWORD flags = 0;
  if (stored_.create_prompt != 0) flags |= OFN_CREATEPROMPT;
  if (stored_.file_must_exist != 0) flags |= OFN_FILEMUSTEXIST;
  if (stored_.overwrite_prompt != 0) flags |= OFN_OVERWRITEPROMPT;
  if (stored_.path_must_exist != 0) flags |= OFN_PATHMUSTEXIST;
  if (stored_.keep_current_folder != 0) flags |= OFN_NOCHANGEDIR;
  const std::wstring filter = stored_.filter.empty() ? std::wstring() : file_dialog_filter(stored_.filter);
  // The stored index is 0-based and the dialog's 1-based; a negative one means the first.
  const DWORD filter_index = static_cast<DWORD>(std::max(static_cast<std::int32_t>(stored_.filter_index), 0)) + 1;
  std::string chosen = run_file_dialog(site().form_window, stored_.kind == kSaveKind, runtime::win32::widen(stored_.title),
                                       filter, filter_index, runtime::win32::widen(stored_.initial_folder),
                                       runtime::win32::widen(stored_.default_extension), stored_.file_name, flags);
  if (chosen.empty()) return false;
  stored_.file_name = std::move(chosen);
  return true;
}

bool CommonDialog::open_font_dialog() {
  LOGFONTW font{};
  HDC screen = GetDC(nullptr);
  font.lfHeight = -MulDiv(static_cast<int>(stored_.font_size), GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  font.lfWeight = stored_.bold != 0 ? FW_BOLD : FW_NORMAL;
  font.lfItalic = stored_.italic != 0;
  font.lfUnderline = stored_.underline != 0;
  font.lfStrikeOut = stored_.strike_out != 0;
  font.lfCharSet = DEFAULT_CHARSET;
  const std::wstring face = runtime::win32::widen(stored_.font_name).substr(0, LF_FACESIZE - 1);
  std::copy(face.begin(), face.end(), font.lfFaceName);
  CHOOSEFONTW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = site().form_window;
  dialog.lpLogFont = &font;
  dialog.rgbColors = colour_of(stored_.colour);
  dialog.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontW(&dialog)) return false;
  stored_.colour = dialog.rgbColors;
  stored_.bold = font.lfWeight >= FW_BOLD ? 1 : 0;
  stored_.italic = font.lfItalic != 0 ? 1 : 0;
  stored_.underline = font.lfUnderline != 0 ? 1 : 0;
  stored_.strike_out = font.lfStrikeOut != 0 ? 1 : 0;
  stored_.font_name = runtime::win32::narrow(font.lfFaceName);
  stored_.font_size = static_cast<std::uint32_t>((dialog.iPointSize + 5) / 10);  // tenths of a point
  return true;
}

}  // namespace quillet::forms::win32

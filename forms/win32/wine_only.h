// Test support: some tests need what only the Wine test prefix provides (its PostScript printer
// driver, the fonts installed beside it). On a real Windows they skip themselves instead of
// failing or changing the user's settings (a default printer, say).
#pragma once

#include <windows.h>

#include <string>

namespace quillet::forms::win32 {

// Wine's ntdll exports wine_get_version; Windows' does not.
inline bool running_under_wine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Whether a font family of this face name is installed.
inline bool font_installed(const std::wstring& face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  if (face.size() >= LF_FACESIZE) return false;
  face.copy(wanted.lfFaceName, face.size());
  HDC screen = GetDC(nullptr);
  bool found = false;
  EnumFontFamiliesExW(
      screen, &wanted,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found_flag) -> int {
        *reinterpret_cast<bool*>(found_flag) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace quillet::forms::win32

// Skips the current test unless it runs under Wine.
#define QUILLET_SKIP_UNLESS_WINE()                                                               \
  do {                                                                                           \
    if (!::quillet::forms::win32::running_under_wine())                                          \
      GTEST_SKIP() << "needs the Wine test prefix (its printer driver or fonts)";                \
  } while (false)

// Colours, brushes, fonts and pictures as the stored forms describe them.
//
// A stored colour is a COLORREF word, 0xFF000000 standing for the button-face colour. A stored
// font is a counted blob: empty for the default GUI font, or a 60-byte logical font in the
// narrow layout (face name in code page 936). A picture is the bytes of a GIF, JPEG, BMP or
// icon file, drawn through OLE.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/win32_text.h"

namespace quillet::forms::win32 {

using UniqueFont = runtime::win32::UniqueWin32<HFONT, DeleteObject>;
using UniqueBrush = runtime::win32::UniqueWin32<HBRUSH, DeleteObject>;
using UniqueCursor = runtime::win32::UniqueWin32<HCURSOR, DestroyCursor>;

// The value of a font property: the font record the application reads and writes.
struct FontValue {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
  std::int32_t size = 9;  // points
  std::string face;       // code page 936
  bool operator==(const FontValue&) const = default;
};

// Stored positions, sizes and font heights are pixels at 96 DPI: layout units. The program
// declares itself DPI aware, so on a screen of another resolution (144 DPI at 150 %) it scales
// them itself and text stays sharp; at 96 DPI nothing changes. What the application reads and
// writes (positions, sizes, client sizes, mouse positions) stays in layout units; only the calls
// to Windows see device pixels.
int screen_dpi();  // the system's, fixed for the life of the process
int to_device(int layout);
int to_layout(int device);

COLORREF colour_of(std::uint32_t stored);
UniqueBrush brush_of(std::uint32_t stored);

// The stored blob as a font; an empty or unreadable blob gives the default GUI font, which
// nobody owns (the UniqueFont is then empty and default_font() is what to select).
UniqueFont font_from_blob(std::string_view blob);
HFONT default_font();
// Between the stored blob and the font record. A blob's height is in layout units, so a stored
// font keeps its point size at every resolution.
FontValue font_value_of(std::string_view blob);
std::string font_blob_of(const FontValue& font);

// The image of the given size from an icon file, or null. The caller destroys it.
HICON icon_from_file(std::string_view file, int size);

// A mouse pointer from the stored cursor blob (a .cur or .ico file); null for the default
// pointer (four zero bytes) or data that is not a cursor.
UniqueCursor cursor_from_blob(std::string_view blob);

// A picture file decoded by OLE. Empty when the bytes are not a picture.
class Picture {
 public:
  Picture() = default;
  explicit Picture(std::string_view bytes);
  ~Picture();
  Picture(Picture&& other) noexcept : picture_(other.picture_) { other.picture_ = nullptr; }
  Picture& operator=(Picture&& other) noexcept;
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  explicit operator bool() const { return picture_ != nullptr; }
  SIZE pixel_size() const;  // at the screen's resolution
  // Draws the picture with its top-left corner at (x, y), at its own size.
  void draw(HDC dc, int x, int y) const;
  // The bitmap inside a bitmap picture (owned by the picture), else null.
  HBITMAP bitmap() const;

 private:
  IPicture* picture_ = nullptr;
};

}  // namespace quillet::forms::win32

#include "forms/win32/gdi.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "forms/byte_io.h"
#include "forms/properties.h"

namespace quillet::forms::win32 {
namespace {

constexpr std::size_t kLogicalFontBytes = 60;
constexpr std::size_t kFaceBytes = 32;
constexpr BYTE kGb2312Charset = 134;

constexpr int kLayoutDpi = 96;

// The narrow logical font of a 60-byte blob.
bool read_logical_font(std::string_view blob, LOGFONTW& font) {
  if (blob.size() < kLogicalFontBytes) return false;
  ByteReader in(blob);
  font = LOGFONTW{};
  font.lfHeight = in.signed_word();
  font.lfWidth = in.signed_word();
  font.lfEscapement = in.signed_word();
  font.lfOrientation = in.signed_word();
  font.lfWeight = in.signed_word();
  const std::string_view flags = in.take(8);
  font.lfItalic = static_cast<BYTE>(flags[0]);
  font.lfUnderline = static_cast<BYTE>(flags[1]);
  font.lfStrikeOut = static_cast<BYTE>(flags[2]);
  font.lfCharSet = static_cast<BYTE>(flags[3]);
  font.lfOutPrecision = static_cast<BYTE>(flags[4]);
  font.lfClipPrecision = static_cast<BYTE>(flags[5]);
  font.lfQuality = static_cast<BYTE>(flags[6]);
  font.lfPitchAndFamily = static_cast<BYTE>(flags[7]);
  std::string_view face = in.take(kFaceBytes);
  face = face.substr(0, std::min(face.find('\0'), face.size()));
  const std::wstring wide = runtime::win32::widen(face).substr(0, LF_FACESIZE - 1);
  std::copy(wide.begin(), wide.end(), font.lfFaceName);
  return true;
}

LOGFONTW default_logical_font() {
  LOGFONTW font{};
  GetObjectW(default_font(), sizeof font, &font);
  return font;
}

// The quality a font of default quality gets from the system's smoothing setting, named
// outright. Drawing text with a default-quality font asks for that setting on every selection
// of the font into a DC (on Wine's X11 driver, two X resource lookups each time), and a text box
// selects its font once per line it measures.
BYTE system_font_quality() {
  BOOL smoothing = TRUE;
  UINT smoothing_type = FE_FONTSMOOTHINGSTANDARD;
  if (!SystemParametersInfoW(SPI_GETFONTSMOOTHING, 0, &smoothing, 0)) return DEFAULT_QUALITY;
  if (!smoothing) return NONANTIALIASED_QUALITY;
  SystemParametersInfoW(SPI_GETFONTSMOOTHINGTYPE, 0, &smoothing_type, 0);
  return smoothing_type == FE_FONTSMOOTHINGCLEARTYPE ? CLEARTYPE_QUALITY : ANTIALIASED_QUALITY;
}

}  // namespace

int screen_dpi() {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int found = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return found > 0 ? found : kLayoutDpi;
  }();
  return dpi;
}

int to_device(int layout) { return MulDiv(layout, screen_dpi(), kLayoutDpi); }
int to_layout(int device) { return MulDiv(device, kLayoutDpi, screen_dpi()); }

COLORREF colour_of(std::uint32_t stored) {
  return stored == kButtonFace ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(stored & 0x00FFFFFF);
}

UniqueBrush brush_of(std::uint32_t stored) { return UniqueBrush(CreateSolidBrush(colour_of(stored))); }

HFONT default_font() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

UniqueFont font_from_blob(std::string_view blob) {
  LOGFONTW font;
  if (!read_logical_font(blob, font)) return UniqueFont();
  font.lfHeight = to_device(font.lfHeight);
  font.lfWidth = to_device(font.lfWidth);
  if (font.lfQuality == DEFAULT_QUALITY) font.lfQuality = system_font_quality();
  return UniqueFont(CreateFontIndirectW(&font));
}

FontValue font_value_of(std::string_view blob) {
  LOGFONTW font;
  int dpi = kLayoutDpi;
  if (!read_logical_font(blob, font)) {
    font = default_logical_font();  // a real font, in device pixels
    dpi = screen_dpi();
  }
  FontValue value;
  value.bold = font.lfWeight >= FW_BOLD;
  value.italic = font.lfItalic != 0;
  value.underline = font.lfUnderline != 0;
  value.strike_out = font.lfStrikeOut != 0;
  const int height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
  value.size = MulDiv(height, 72, dpi);
  value.face = runtime::win32::narrow(font.lfFaceName);
  return value;
}

std::string font_blob_of(const FontValue& font) {
  ByteWriter out;
  out.signed_word(-MulDiv(font.size, kLayoutDpi, 72));
  out.word(0), out.word(0), out.word(0);
  out.signed_word(font.bold ? FW_BOLD : FW_NORMAL);
  const char flags[8] = {font.italic ? '\1' : '\0', font.underline ? '\1' : '\0', font.strike_out ? '\1' : '\0',
                         static_cast<char>(kGb2312Charset), 0, 0, 0, 0};
  out.raw(std::string_view(flags, 8));
  std::string face = font.face.substr(0, kFaceBytes - 1);
  face.resize(kFaceBytes, '\0');
  out.raw(face);
  return out.take();
}

namespace {

// One image of an icon (type 1) or cursor (type 2) file, as its directory lists it.
struct IconImage {
  int width;
  std::uint16_t hot_x, hot_y;  // a cursor's hot spot (an icon's planes and bit count)
  std::string_view bytes;
};

std::vector<IconImage> icon_images(std::string_view file, std::uint16_t type) {
  std::vector<IconImage> images;
  ByteReader in(file);
  if (in.half_word() != 0 || in.half_word() != type) return images;
  const std::uint16_t count = in.half_word();
  for (std::uint16_t i = 0; i < count; ++i) {
    const std::string_view entry = in.take(16);
    if (entry.size() != 16) break;
    ByteReader fields(entry.substr(4));
    const std::uint16_t hot_x = fields.half_word();
    const std::uint16_t hot_y = fields.half_word();
    const std::uint32_t bytes = fields.word();
    const std::uint32_t offset = fields.word();
    if (offset > file.size() || bytes > file.size() - offset) continue;
    const int width = static_cast<unsigned char>(entry[0]) == 0 ? 256 : static_cast<unsigned char>(entry[0]);
    images.push_back({width, hot_x, hot_y, file.substr(offset, bytes)});
  }
  return images;
}

}  // namespace

HICON icon_from_file(std::string_view file, int size) {
  for (const IconImage& image : icon_images(file, 1)) {
    if (image.width != size) continue;
    auto* bytes = reinterpret_cast<BYTE*>(const_cast<char*>(image.bytes.data()));
    return CreateIconFromResourceEx(bytes, static_cast<DWORD>(image.bytes.size()), TRUE, 0x00030000, size, size,
                                    LR_DEFAULTCOLOR);
  }
  return nullptr;
}

UniqueCursor cursor_from_blob(std::string_view blob) {
  const std::vector<IconImage> images = icon_images(blob, 2);
  if (images.empty()) return UniqueCursor();
  // CreateIconFromResourceEx wants a cursor image with its hot spot in front.
  ByteWriter resource;
  resource.half_word(images[0].hot_x), resource.half_word(images[0].hot_y);
  resource.raw(images[0].bytes);
  std::string data = resource.take();
  return UniqueCursor(reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(
      reinterpret_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size()), FALSE, 0x00030000, 0, 0, LR_DEFAULTCOLOR)));
}

Picture::Picture(std::string_view bytes) {
  if (bytes.empty()) return;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (memory == nullptr) return;
  std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return;
  }
  void* picture = nullptr;
  if (SUCCEEDED(OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture, &picture))) {
    picture_ = static_cast<IPicture*>(picture);
  }
  stream->Release();  // frees the memory too
}

Picture::~Picture() {
  if (picture_ != nullptr) picture_->Release();
}

Picture& Picture::operator=(Picture&& other) noexcept {
  if (this != &other) {
    if (picture_ != nullptr) picture_->Release();
    picture_ = other.picture_;
    other.picture_ = nullptr;
  }
  return *this;
}

SIZE Picture::pixel_size() const {
  if (picture_ == nullptr) return {0, 0};
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture_->get_Width(&width);
  picture_->get_Height(&height);
  const int dpi = screen_dpi();
  return {MulDiv(width, dpi, 2540), MulDiv(height, dpi, 2540)};
}

void Picture::draw(HDC dc, int x, int y) const {
  if (picture_ == nullptr) return;
  OLE_XSIZE_HIMETRIC width = 0;
  OLE_YSIZE_HIMETRIC height = 0;
  picture_->get_Width(&width);
  picture_->get_Height(&height);
  const SIZE size = pixel_size();
  // OLE pictures are addressed bottom-up in HIMETRIC.
  picture_->Render(dc, x, y, size.cx, size.cy, 0, height, width, -height, nullptr);
}

HBITMAP Picture::bitmap() const {
  SHORT type = PICTYPE_NONE;
  if (picture_ == nullptr || FAILED(picture_->get_Type(&type)) || type != PICTYPE_BITMAP) return nullptr;
  OLE_HANDLE handle = 0;
  picture_->get_Handle(&handle);
  return reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(handle));
}

}  // namespace quillet::forms::win32

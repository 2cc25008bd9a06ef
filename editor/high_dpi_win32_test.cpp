// The stored layout at the screen's resolution: positions, sizes and font heights are pixels at
// 96 DPI and scale by DPI/96, while the application keeps reading and writing layout units. The
// same checks hold at every resolution; scripts/wine-at-dpi runs this program a second time in a
// prefix of its own at 144 DPI with the system's visual style on, and QUILLET_EXPECTED_DPI makes
// sure each run is at the resolution it was meant for.
#include <windows.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "editor/editor_test_fixture.h"
#include "forms/properties.h"
#include "forms/win32/gdi.h"
#include "forms/win32/methods.h"
#include "forms/win32/property_service.h"

namespace quillet::editor {
namespace {

using forms::win32::screen_dpi;

int scaled(int layout) { return MulDiv(layout, screen_dpi(), 96); }

RECT client_rect_of(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

const forms::UnitRecord& stored(const UnitRef& unit) {
  return *FormRuntime::instance().form(unit.form_id)->find_unit(unit.unit_id);
}

// The window's client area drawn into a bitmap, as a screenshot of it would show it.
std::vector<COLORREF> render(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(GetParent(window), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window));
  PrintWindow(window, dc, PW_CLIENTONLY);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST(Resolution, IsTheOneThisRunWasMeantFor) {
  const char* expected = std::getenv("QUILLET_EXPECTED_DPI");
  if (expected == nullptr) GTEST_SKIP() << "QUILLET_EXPECTED_DPI not set";
  EXPECT_EQ(screen_dpi(), std::atoi(expected));
}

TEST_F(EditorTest, TheMainWindowAndItsDocumentBoxScale) {
  const forms::Rect& window = stored(main_window::kWindow).control()->rect;
  RECT outer{};
  GetWindowRect(main_window(), &outer);
  EXPECT_EQ(outer.right - outer.left, scaled(window.width));
  EXPECT_EQ(outer.bottom - outer.top, scaled(window.height));
  // The document box fills the client area but for a margin of 5 layout units, and the
  // application reads its size in layout units.
  const std::int32_t client_width = forms::win32::call::client_width(main_window::kWindow);
  const std::int32_t client_height = forms::win32::call::client_height(main_window::kWindow);
  RECT client{};
  GetClientRect(main_window(), &client);
  EXPECT_NEAR(scaled(client_width), client.right, 1);
  EXPECT_NEAR(scaled(client_height), client.bottom, 1);
  const RECT box = client_rect_of(document_box());
  EXPECT_EQ(box.left, scaled(5));
  EXPECT_EQ(box.top, scaled(5));
  EXPECT_EQ(box.right - box.left, scaled(client_width - 10));
  EXPECT_EQ(box.bottom - box.top, scaled(client_height - 10));
  namespace common = forms::win32::property;
  EXPECT_EQ(forms::win32::call::read_int(main_window::kDocument, common::kWidth), client_width - 10);
  EXPECT_EQ(forms::win32::call::read_int(main_window::kDocument, common::kLeft), 5);

  // The document's stored font (16 pixels at 96 DPI, 12 points) keeps its point size: its pixel
  // height scales, and the application still reads 12 points.
  LOGFONTW shown{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(document_box(), WM_GETFONT, 0, 0)), sizeof shown, &shown);
  EXPECT_EQ(shown.lfHeight, scaled(-16));
  const text::ValueRecord font = forms::win32::read_property(main_window::kDocument.form_id, main_window::kDocument.unit_id,
                                                             property::kFont);
  auto* record = static_cast<forms::win32::FontRecord*>(text::pointer_value(font));
  EXPECT_EQ(record->size, 12);
  forms::win32::release_font_record(record);
}

TEST_F(EditorTest, ADialogsControlsScale) {
  ASSERT_TRUE(forms::win32::call::load_form(account_form::kWindow));
  const forms::FormRecord& form = *FormRuntime::instance().form(account_form::kWindow.form_id);
  int checked = 0;
  for (const forms::UnitRecord& unit : form.units) {
    if (unit.control() == nullptr || &unit == &form.units[0]) continue;
    const HWND control = window_of({form.id, unit.id, unit.type});
    ASSERT_NE(control, nullptr) << unit.name;
    forms::Rect expected = unit.control()->rect;
    for (const forms::UnitRecord* parent = form.find_unit(unit.control()->parent); parent != nullptr;
         parent = form.find_unit(parent->control()->parent)) {
      expected.left += parent->control()->rect.left;
      expected.top += parent->control()->rect.top;
    }
    const RECT actual = client_rect_of(control);
    EXPECT_EQ(actual.left, scaled(expected.left)) << unit.name;
    EXPECT_EQ(actual.top, scaled(expected.top)) << unit.name;
    EXPECT_EQ(actual.right - actual.left, scaled(expected.width)) << unit.name;
    // A single-line box may have grown to hold a line of its font.
    if (unit.type != text::type_code::kEditBox) {
      EXPECT_EQ(actual.bottom - actual.top, scaled(expected.height)) << unit.name;
    }
    ++checked;
  }
  EXPECT_GE(checked, 20);
}

// Under a visual style too, the check boxes, radio boxes and group boxes show their stored
// yellow on blue.
TEST_F(EditorTest, CheckBoxesKeepTheirStoredColours) {
  constexpr COLORREF kBlue = 0x00FF8800, kYellow = 0x0000FFFF;
  ASSERT_TRUE(forms::win32::call::load_form(account_form::kWindow));
  for (const UnitRef& unit : {account_form::kPasswordLetterFirst, account_form::kAccountFixed}) {
    const forms::CheckBoxProperties properties = *forms::decode_properties<forms::CheckBoxProperties>(
        stored(unit).control()->properties,
        unit.type == text::type_code::kRadioBox ? forms::CheckBoxProperties::kRadioVersion : forms::CheckBoxProperties::kVersion);
    ASSERT_EQ(properties.text_colour, kYellow);
    ASSERT_EQ(properties.background_colour, kBlue);
    const std::vector<COLORREF> pixels = render(window_of(unit));
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(pixels.back(), kBlue) << stored(unit).name;
    int yellow = 0;
    for (COLORREF pixel : pixels) yellow += pixel == kYellow;
    EXPECT_GT(yellow, scaled(10)) << stored(unit).name;  // the caption's strokes
  }
  // Wine's style falls back to the colours the form hands the control, so the pixels above
  // look right either way there; on Windows a themed check box draws its caption in the
  // style's colour. What keeps the stored colours everywhere is that these controls are not
  // themed while a push button of the same form is.
  if (!IsThemeActive()) return;
  EXPECT_NE(GetWindowTheme(window_of(account_form::kRunButton)), nullptr);
  for (const UnitRef& unit : {account_form::kPasswordLetterFirst, account_form::kAccountFixed, account_form::kAmountGroup}) {
    EXPECT_EQ(GetWindowTheme(window_of(unit)), nullptr) << stored(unit).name;
  }
}

}  // namespace
}  // namespace quillet::editor

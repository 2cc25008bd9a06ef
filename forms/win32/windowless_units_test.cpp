// The units without a window of their own, under Wine: the file and font dialogs driven through
// a WH_CBT hook, printing to a PostScript printer created for the test, and the balloon tip.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "forms/catalogue.h"
#include "forms/win32/balloon_tip.h"
#include "forms/win32/common_dialog.h"
#include "forms/win32/dialog_answers.h"
#include "forms/win32/form_runtime.h"
#include "forms/win32/methods.h"
#include "forms/win32/postscript_printer.h"
#include "forms/win32/printer.h"
#include "forms/win32/property_service.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

namespace type = text::type_code;

constexpr UnitRef kDialog = unit::main_window::kCommonDialog;
constexpr UnitRef kPrinter = unit::main_window::kPrinter;
constexpr UnitRef kTip = unit::main_window::kContactTip;
constexpr UnitRef kPicture = unit::main_window::kContactPicture;
constexpr int kFileNameBox = 0x47C;   // cmb13
constexpr int kFileTypeBox = 0x470;   // cmb1

std::wstring temporary_path(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

class WindowlessUnitsTest : public testing::Test {
 protected:
  void SetUp() override {
    runtime_ = &FormRuntime::initialise();
    ASSERT_TRUE(runtime_->load_form(kMainForm));
  }
  void TearDown() override { runtime_->close_all_forms(); }
  std::string text_of(const UnitRef& unit, std::int32_t number) const {
    const text::OwnedText text = call::read_text(unit, number);
    return text ? std::string(text.get()) : std::string();
  }
  FormRuntime* runtime_ = nullptr;
};

TEST(FileDialogFilterTest, EndsWithTwoSeparatorsOnce) {
  EXPECT_EQ(file_dialog_filter("A|*.a"), std::wstring(L"A\0*.a\0\0", 7));
  EXPECT_EQ(file_dialog_filter("A|*.a||"), std::wstring(L"A\0*.a\0\0", 7));
  // 0x7C is a trail byte inside this character, not a separator.
  EXPECT_EQ(file_dialog_filter("\x81\x7C|*"), runtime::win32::widen("\x81\x7C") + std::wstring(L"\0*\0\0", 4));
}

TEST_F(WindowlessUnitsTest, OpenDialogTakesTheStoredSettingsAndReturnsTheChosenPath) {
  int chosen_type = -1;
  const std::wstring path = temporary_path(L"\u6587\u6863.txt");  // 文档.txt
  std::ofstream(std::filesystem::path(path)) << "x";
  {
    DialogAnswers answers([&](HWND dialog) {
      chosen_type = static_cast<int>(SendDlgItemMessageW(dialog, kFileTypeBox, CB_GETCURSEL, 0, 0));
      SetDlgItemTextW(dialog, kFileNameBox, path.c_str());
      press(dialog, IDOK);
    });
    call::write_int(kDialog, 8, 0);
    call::write_int(kDialog, 12, 1);  // the second filter, "BAT文件"
    ASSERT_TRUE(call::open_common_dialog(kDialog));
  }
  EXPECT_EQ(chosen_type, 1);
  EXPECT_EQ(text_of(kDialog, 10), runtime::win32::narrow(path));
  std::filesystem::remove(std::filesystem::path(path));
}

TEST_F(WindowlessUnitsTest, ACancelledDialogChangesNothing) {
  int chosen_type = -1;
  DialogAnswers answers([&](HWND dialog) {
    chosen_type = static_cast<int>(SendDlgItemMessageW(dialog, kFileTypeBox, CB_GETCURSEL, 0, 0));
    press(dialog, IDCANCEL);
  });
  call::write_text(kDialog, 10, "C:\\before.txt");
  call::write_int(kDialog, 12, -1);  // below 0: the first filter
  for (std::int32_t kind : {0, 1}) {
    call::write_int(kDialog, 8, kind);
    EXPECT_FALSE(call::open_common_dialog(kDialog));
    EXPECT_EQ(text_of(kDialog, 10), "C:\\before.txt");
  }
  EXPECT_EQ(chosen_type, 0);

  call::write_int(kDialog, 8, 2);
  call::write_int(kDialog, 26, 12);
  call::write_int(kDialog, 20, 0x0000FF);
  call::write_text(kDialog, 25, "Tahoma");
  EXPECT_FALSE(call::open_common_dialog(kDialog));
  EXPECT_EQ(call::read_int(kDialog, 26), 12);
  EXPECT_EQ(call::read_int(kDialog, 20), 0x0000FF);
  EXPECT_EQ(text_of(kDialog, 25), "Tahoma");
}

TEST_F(WindowlessUnitsTest, SaveAndFontDialogsHandBackTheirResults) {
  const std::wstring path = temporary_path(L"saved.txt");
  std::filesystem::remove(std::filesystem::path(path));
  {
    DialogAnswers answers([&](HWND dialog) {
      SetDlgItemTextW(dialog, kFileNameBox, path.c_str());
      press(dialog, IDOK);
    });
    call::write_int(kDialog, 8, 1);
    call::write_text(kDialog, 9, "另存为");
    ASSERT_TRUE(call::open_common_dialog(kDialog));
  }
  EXPECT_EQ(text_of(kDialog, 10), runtime::win32::narrow(path));

  // The font dialog keeps what it was given when the user confirms it unchanged: colour,
  // weight, size and face come back as the properties. (The test prefix knows the Chinese face
  // from the fonts-wqy-microhei package; elsewhere a face every Windows has stands in.)
  const std::string face = font_installed(L"文泉驿微米黑") ? "文泉驿微米黑" : "Tahoma";
  DialogAnswers answers([](HWND dialog) { press(dialog, IDOK); });
  call::write_int(kDialog, 8, 2);
  call::write_int(kDialog, 20, 0x0000FF);  // red
  call::write_bool(kDialog, 21, true);
  call::write_int(kDialog, 26, 14);
  call::write_text(kDialog, 25, face.c_str());
  ASSERT_TRUE(call::open_common_dialog(kDialog));
  EXPECT_EQ(call::read_int(kDialog, 20), 0x0000FF);
  EXPECT_TRUE(call::read_bool(kDialog, 21));
  EXPECT_EQ(call::read_int(kDialog, 26), 14);
  EXPECT_EQ(text_of(kDialog, 25), face);
}

class PrinterTest : public WindowlessUnitsTest {
 protected:
  void SetUp() override {
    QUILLET_SKIP_UNLESS_WINE();
    WindowlessUnitsTest::SetUp();
    ASSERT_TRUE(make_postscript_printer());
    output_ = temporary_path(L"quillet-print.ps");
    std::filesystem::remove(std::filesystem::path(output_));
    set_print_output_file(runtime::win32::narrow(output_));
    printer_ = dynamic_cast<Printer*>(runtime_->control(kPrinter.form_id, kPrinter.unit_id));
    ASSERT_NE(printer_, nullptr);
  }
  void TearDown() override {
    set_print_output_file("");
    WindowlessUnitsTest::TearDown();
  }
  int pages() const { return postscript_pages(std::filesystem::path(output_)); }
  // How many lines of "x" fill a page exactly: the last one ends at or above the printable height.
  int lines_per_page() const {
    const int advance = printer_->line_advance("x");
    return (printer_->printable_height() + 2) / advance;
  }
  std::wstring output_;
  Printer* printer_ = nullptr;
};

TEST_F(PrinterTest, AnEmptyDocumentPrintsOnePage) {
  ASSERT_TRUE(call::start_printing(kPrinter, false));
  EXPECT_FALSE(call::start_printing(kPrinter, false));  // one job at a time
  EXPECT_NE(printer_->progress_window(), nullptr);
  call::print_text_lines(kPrinter, "");
  call::end_printing(kPrinter);
  EXPECT_EQ(printer_->progress_window(), nullptr);
  EXPECT_EQ(pages(), 1);
}

TEST_F(PrinterTest, ANewPageStartsExactlyWhenTheLinesFillThePrintableHeight) {
  ASSERT_TRUE(call::start_printing(kPrinter, false, false));
  const int fit = lines_per_page();
  ASSERT_GT(fit, 10);
  std::string page;
  for (int i = 0; i < fit; ++i) page += "x\r\n";
  call::print_text_lines(kPrinter, page.c_str());
  EXPECT_EQ(printer_->page(), 1);
  call::print_text_lines(kPrinter, "x");
  EXPECT_EQ(printer_->page(), 2);
  call::end_printing(kPrinter);
  EXPECT_EQ(pages(), 2);
}

TEST_F(PrinterTest, LongLinesAreNotWrappedAndEachBreakCountsOnce) {
  ASSERT_TRUE(call::start_printing(kPrinter, false, false));
  const int fit = lines_per_page();
  std::string text(1000, 'W');  // far wider than the page: still one line
  text += "\r\n";
  for (int i = 0; i < fit - 5; ++i) text += "x\n";
  text += "a\rb\nc\r\nd";  // four lines
  call::print_text_lines(kPrinter, text.c_str());
  EXPECT_EQ(printer_->page(), 1);
  call::print_text_lines(kPrinter, "e");
  EXPECT_EQ(printer_->page(), 2);
  call::end_printing(kPrinter);
  EXPECT_EQ(pages(), 2);
}

TEST_F(PrinterTest, ThePrintDialogCanCancelOrChooseThePrinter) {
  {
    DialogAnswers answers([](HWND dialog) { press(dialog, IDCANCEL); });
    EXPECT_FALSE(call::start_printing(kPrinter));
  }
  DialogAnswers answers([](HWND dialog) { press(dialog, IDOK); });
  ASSERT_TRUE(call::start_printing(kPrinter));
  call::print_text_lines(kPrinter, "第一页", 2, true);
  call::end_printing(kPrinter);
  EXPECT_EQ(pages(), 1);
}

TEST(PrintLinesTest, BreaksAtCrLfAndCrLfPairs) {
  const std::wstring text = L"a\rb\nc\r\nd\n\nf\r\n";
  const std::vector<std::wstring_view> lines = print_lines_of(text);
  EXPECT_EQ(lines, (std::vector<std::wstring_view>{L"a", L"b", L"c", L"d", L"", L"f"}));
  EXPECT_EQ(print_lines_of(L"").size(), 1u);
  EXPECT_EQ(print_lines_of(L"\r\n").size(), 1u);
}

TEST_F(WindowlessUnitsTest, BalloonTipAttachesToAControlWithAWindow) {
  ASSERT_TRUE(call::set_balloon_tip(kTip, kPicture, "联系我们"));
  const auto* tip = dynamic_cast<BalloonTip*>(runtime_->control(kTip.form_id, kTip.unit_id));
  ASSERT_NE(tip, nullptr);
  ASSERT_NE(tip->tip_window(), nullptr);
  EXPECT_EQ(SendMessageW(tip->tip_window(), TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[64] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = runtime_->control(kPicture.form_id, kPicture.unit_id)->window();
  tool.uId = reinterpret_cast<UINT_PTR>(tool.hwnd);
  tool.lpszText = text;
  SendMessageW(tip->tip_window(), TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
  EXPECT_EQ(runtime::win32::narrow(text), "联系我们");
  EXPECT_FALSE(call::set_balloon_tip(kTip, kPrinter, "no window"));
}

}  // namespace
}  // namespace quillet::forms::win32

// The stored main menu turned into a real Win32 menu bar and accelerator table.
#include "forms/win32/menu_win32.h"

#include <gtest/gtest.h>

#include <string>

#include "forms/catalogue.h"
#include "forms/stored_forms.h"
#include "runtime/win32_text.h"

namespace quillet::forms::win32 {
namespace {

const FormRecord& main_form() {
  static const FormBlock block = *read_form_block(stored_form_block());
  return *block.find_form(kMainForm);
}

std::string item_text(HMENU menu, UINT position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
  return runtime::win32::narrow(text);
}

TEST(MenuWin32, MainMenuBarHasEveryEntryWithItsGbkCaption) {
  MenuBar bar = build_menu_bar(walk_menu(main_form()));
  ASSERT_NE(bar.get(), nullptr);
  ASSERT_EQ(GetMenuItemCount(bar.get()), 8);
  EXPECT_EQ(item_text(bar.get(), 0), "&F.\xCE\xC4\xBC\xFE");  // &F.文件
  HMENU file = GetSubMenu(bar.get(), 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(GetMenuItemCount(file), 8);  // the hidden recent-file run is not there
  EXPECT_EQ(item_text(file, 0), "&N.\xD0\xC2\xBD\xA8\tCtrl+N");
  EXPECT_EQ(GetMenuItemID(file, 0), 20001u);
  EXPECT_EQ(GetMenuItemID(file, 7), 20012u);  // &X.退出, after the recent-file numbers
  MENUITEMINFOW info{sizeof info, MIIM_FTYPE};
  GetMenuItemInfoW(file, 4, TRUE, &info);
  EXPECT_TRUE(info.fType & MFT_SEPARATOR);
  // A submenu two levels down: 修正 > 转换 > 到大写.
  HMENU convert = GetSubMenu(GetSubMenu(bar.get(), 4), 0);
  ASSERT_NE(convert, nullptr);
  EXPECT_EQ(item_text(convert, 0), "\xB5\xBD\xB4\xF3\xD0\xB4");  // 到大写
}

TEST(MenuWin32, AcceleratorsCarryTheCommandNumbers) {
  AcceleratorTable table = build_accelerators(walk_menu(main_form()));
  ASSERT_NE(table.get(), nullptr);
  ACCEL entries[32] = {};
  const int count = CopyAcceleratorTableW(table.get(), entries, 32);
  ASSERT_EQ(count, 16);
  EXPECT_EQ(entries[0].key, 'N');
  EXPECT_EQ(entries[0].fVirt & (FVIRTKEY | FCONTROL), FVIRTKEY | FCONTROL);
  EXPECT_EQ(entries[0].cmd, 20001);
}

TEST(MenuWin32, FormsWithoutMenusGetNone) {
  FormRecord empty;
  EXPECT_EQ(build_menu_bar(walk_menu(empty)).get(), nullptr);
  EXPECT_EQ(build_accelerators(walk_menu(empty)).get(), nullptr);
}

}  // namespace
}  // namespace quillet::forms::win32

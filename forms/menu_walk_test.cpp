#include "forms/menu_walk.h"

#include <gtest/gtest.h>

namespace quillet::forms {
namespace {

UnitRecord item(std::uint32_t id, std::uint32_t level, std::string caption, std::uint32_t shortcut = 0,
                std::uint32_t flags = 0) {
  MenuItemRecord record;
  record.level = level;
  record.caption = std::move(caption);
  record.shortcut = shortcut;
  record.flags = flags;
  return {id, 0x00010003, 0, "", "", record};
}

FormRecord file_menu_form() {
  FormRecord form;
  form.id = 0x52010001;
  form.units = {
      {0x06000001, 0x00010001, 0, "", "", ControlRecord{}},
      item(0x26000001, 0, "File(&F)"),
      item(0x26000002, 1, "New", 14),           // Ctrl+N
      item(0x26000003, 1, "-"),
      item(0x26000004, 1, "1", 0, 1),           // hidden recent files
      item(0x26000005, 1, "2", 0, 1),
      item(0x26000006, 1, "More"),
      item(0x26000007, 2, "Deep", 35, 2),       // F9, disabled
      item(0x26000008, 0, "Help", 0, 4),        // checked
      item(0x26000009, 1, "About", 76),         // Del
  };
  return form;
}

TEST(MenuWalk, LevelsBecomeBarPullDownsAndSubmenus) {
  const MenuDescription menu = walk_menu(file_menu_form());
  ASSERT_EQ(menu.bar.size(), 2u);
  const MenuEntry& file = menu.bar[0];
  EXPECT_EQ(file.command, 20000u);
  ASSERT_EQ(file.children.size(), 3u);  // New, separator, More; the hidden ones are left out
  EXPECT_EQ(file.children[0].caption, "New\tCtrl+N");
  EXPECT_TRUE(file.children[1].separator);
  const MenuEntry& more = file.children[2];
  EXPECT_EQ(more.command, 20005u);  // the hidden items still used 20003 and 20004
  ASSERT_EQ(more.children.size(), 1u);
  EXPECT_EQ(more.children[0].caption, "Deep\tF9");
  EXPECT_TRUE(more.children[0].disabled);
  EXPECT_TRUE(menu.bar[1].checked);
  EXPECT_EQ(menu.bar[1].children[0].command, 20008u);
  EXPECT_EQ(menu.unit_for(20003), 0x26000004u);  // hidden, but its number is its own
  EXPECT_EQ(menu.unit_for(19999), 0u);
  EXPECT_EQ(menu.unit_for(20009), 0u);
}

TEST(MenuWalk, ShortcutsBecomeOneAcceleratorTable) {
  const MenuDescription menu = walk_menu(file_menu_form());
  EXPECT_EQ(menu.accelerators, (std::vector<Accelerator>{{kVirtualKey | kControl, 'N', 20001},
                                                          {kVirtualKey, 0x78, 20006},
                                                          {kVirtualKey, 0x2E, 20008}}));
}

TEST(ShortcutTable, NamesAndKeysOfEveryRange) {
  EXPECT_EQ(shortcut_key(1)->name, "Ctrl+A");
  EXPECT_EQ(shortcut_key(26)->virtual_key, 'Z');
  EXPECT_EQ(shortcut_key(27)->name, "F1");
  EXPECT_EQ(shortcut_key(38)->virtual_key, 0x7B);
  EXPECT_EQ(shortcut_key(39)->name, "Ctrl+F1");
  EXPECT_EQ(shortcut_key(51)->name, "Shift+F1");
  EXPECT_EQ(shortcut_key(62)->modifiers, kVirtualKey | kShift);
  EXPECT_EQ(shortcut_key(74)->name, "Ctrl+Shift+F12");
  EXPECT_EQ(shortcut_key(75)->name, "Ins");
  EXPECT_EQ(shortcut_key(76)->virtual_key, 0x2E);
  EXPECT_FALSE(shortcut_key(0).has_value());
  EXPECT_FALSE(shortcut_key(77).has_value());
  EXPECT_FALSE(shortcut_key(1000).has_value());
}

}  // namespace
}  // namespace quillet::forms

#include "forms/form_dump.h"

#include <gtest/gtest.h>

namespace quillet::forms {
namespace {

TEST(FormDump, OneStableLinePerFormUnitItemAndBinding) {
  FormBlock block;
  FormRecord form;
  form.id = 0x52010001;
  ControlRecord window;
  window.rect = {50, 50, 636, 498};
  window.flags = 1;
  window.events = {{0, 3}, {1, std::nullopt}};
  MenuItemRecord file;
  file.caption = "&F";
  MenuItemRecord open;
  open.level = 1;
  open.caption = "&O";
  open.shortcut = 15;
  open.handler = 4;
  MenuItemRecord recent;
  recent.level = 1;
  recent.caption = "1";
  recent.flags = 1;
  form.units = {{0x06010000, 0x00010001, 0, "", "", window},
                {0x26010001, 0x00010003, 0, "", "", file},
                {0x26010002, 0x00010003, 0, "", "", open},
                {0x26010003, 0x00010003, 0, "", "", recent}};
  block.forms = {form};
  EXPECT_EQ(dump_form_block(block, 123),
            "block 123 bytes, 1 forms\n"
            "form 0x52010001 units 4\n"
            "  unit 0x06010000 type 0x00010001 \"\" rect 50,50,636,498 parent 0x00000000 flags 1 focus 0 properties 0 bytes\n"
            "    event 0 handler 3\n"
            "    event 1 no handler\n"
            "  menu 0x26010001 command 20000 level 0 \"&F\" no handler\n"
            "  menu 0x26010002 command 20001 level 1 \"&O\" [Ctrl+O] handler 4\n"
            "  menu 0x26010003 command 20002 level 1 \"1\" hidden no handler\n"
            "  accelerator 9+0x0000004F command 20001\n");
}

}  // namespace
}  // namespace quillet::forms

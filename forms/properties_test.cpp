#include "forms/properties.h"

#include <gtest/gtest.h>

namespace quillet::forms {
namespace {

TEST(PropertyBlocks, EmptyBlockMeansDefaults) {
  const std::optional<EditBoxProperties> edit = decode_properties<EditBoxProperties>("");
  ASSERT_TRUE(edit.has_value());
  EXPECT_EQ(edit->border, 1u);
  EXPECT_EQ(edit->background_colour, 0xFFFFFFu);
  EXPECT_EQ(edit->hide_selection, 1u);
  EXPECT_EQ(edit->password_character, '*');
  EXPECT_EQ(edit->adjuster_maximum, 100);
  EXPECT_TRUE(edit->font.empty());
  EXPECT_TRUE(decode_properties<PrinterProperties>("").has_value());
}

TEST(PropertyBlocks, EditBoxLayoutWordByWord) {
  EditBoxProperties edit;
  edit.multi_line = 1;
  edit.scroll_bars = 3;
  edit.password_character = 0x2023;
  edit.content = "\xD6\xD0";
  const std::string block = encode_properties(edit);
  ByteReader in(block);
  EXPECT_EQ(in.word(), 2u);  // version
  in.skip(4 * 5);
  EXPECT_EQ(in.word(), 1u);  // multi-line, the sixth field
  EXPECT_EQ(in.word(), 3u);  // scroll bars
  in.skip(4 * 2);
  EXPECT_EQ(in.half_word(), 0x2023);  // the password character takes 16 bits
  in.skip(4 * 6);  // case conversion, adjuster, its range, selection start and length
  EXPECT_EQ(in.counted(), "");  // font: none
  EXPECT_EQ(in.counted(), "\xD6\xD0");
  EXPECT_EQ(in.counted(), "");
  EXPECT_EQ(in.counted(), "");
  EXPECT_TRUE(in.at_end());
}

TEST(PropertyBlocks, EveryTypeRoundTrips) {
  EditBoxProperties edit;
  edit.content = "abc";
  edit.font = std::string(60, '\x01');
  EXPECT_EQ(encode_properties(*decode_properties<EditBoxProperties>(encode_properties(edit))), encode_properties(edit));

  ButtonProperties button;
  button.caption = "\xC8\xB7\xB6\xA8";  // 确定
  button.default_button = 1;
  EXPECT_EQ(decode_properties<ButtonProperties>(encode_properties(button))->caption, button.caption);

  CheckBoxProperties check;
  check.checked = 1;
  check.caption = "x";
  EXPECT_EQ(decode_properties<CheckBoxProperties>(encode_properties(check))->checked, 1u);
  const std::string radio = encode_properties(check, CheckBoxProperties::kRadioVersion);
  EXPECT_EQ(decode_properties<CheckBoxProperties>(radio, CheckBoxProperties::kRadioVersion)->caption, "x");

  WindowProperties window;
  window.title = "Quillet";
  window.icon = std::string(5430, '\x7F');
  window.start_position = 1;
  const std::optional<WindowProperties> read_window = decode_properties<WindowProperties>(encode_properties(window));
  EXPECT_EQ(read_window->title, "Quillet");
  EXPECT_EQ(read_window->icon.size(), 5430u);
  EXPECT_EQ(read_window->start_position, 1u);

  CommonDlgProperties dialog;
  dialog.filter = "\xCE\xC4\xB1\xBE\xCE\xC4\xBC\xFE(*.txt)|*.txt";
  dialog.default_extension = "txt";
  dialog.overwrite_prompt = 1;
  const std::optional<CommonDlgProperties> read_dialog = decode_properties<CommonDlgProperties>(encode_properties(dialog));
  EXPECT_EQ(read_dialog->filter, dialog.filter);
  EXPECT_EQ(read_dialog->default_extension, "txt");
  EXPECT_EQ(read_dialog->overwrite_prompt, 1u);

  LabelProperties label;
  label.drawing_words[15] = 9;
  label.caption = "c";
  EXPECT_EQ(decode_properties<LabelProperties>(encode_properties(label))->drawing_words[15], 9u);
  PicBoxProperties picture;
  picture.picture = "GIF89a";
  EXPECT_EQ(decode_properties<PicBoxProperties>(encode_properties(picture))->words[1], kButtonFace);
  GroupBoxProperties group;
  group.caption = "g";
  EXPECT_EQ(decode_properties<GroupBoxProperties>(encode_properties(group))->caption, "g");
  PrinterProperties printer;
  printer.first_page = 2;
  EXPECT_EQ(decode_properties<PrinterProperties>(encode_properties(printer))->first_page, 2);
}

TEST(PropertyBlocks, TrailingBytesAreIgnored) {
  ButtonProperties button;
  button.caption = "ok";
  const std::optional<ButtonProperties> read = decode_properties<ButtonProperties>(encode_properties(button) + "\x01\x02\x03");
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->caption, "ok");
}

TEST(PropertyBlocks, HigherVersionsAreRefused) {
  std::string block = encode_properties(EditBoxProperties{});
  block[0] = 3;
  EXPECT_FALSE(decode_properties<EditBoxProperties>(block).has_value());
  const std::string check = encode_properties(CheckBoxProperties{});  // version 2
  EXPECT_TRUE(decode_properties<CheckBoxProperties>(check).has_value());
  EXPECT_FALSE(decode_properties<CheckBoxProperties>(check, CheckBoxProperties::kRadioVersion).has_value());
}

TEST(PropertyBlocks, OlderVersionsLackTheirLaterFields) {
  EditBoxProperties edit;
  edit.binding_names[0] = "lost";
  const std::string version1 = encode_properties(edit, 1);
  EXPECT_LT(version1.size(), encode_properties(edit).size());
  const std::optional<EditBoxProperties> read = decode_properties<EditBoxProperties>(version1);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->binding_names[0], "");

  WindowProperties window;
  window.version_words[4] = 7;  // a version-5 word
  window.version6_text = "six";
  const std::optional<WindowProperties> read4 = decode_properties<WindowProperties>(encode_properties(window, 4));
  EXPECT_EQ(read4->version_words[4], 0u);
  EXPECT_EQ(read4->version6_text, "");
}

TEST(PropertyBlocks, TruncatedBlocksAreRefused) {
  const std::string block = encode_properties(GroupBoxProperties{});
  for (std::size_t cut = 1; cut < block.size(); ++cut) {
    EXPECT_FALSE(decode_properties<GroupBoxProperties>(block.substr(0, cut)).has_value()) << cut;
  }
}

}  // namespace
}  // namespace quillet::forms

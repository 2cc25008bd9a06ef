#include "forms/form_block.h"

#include <gtest/gtest.h>

#include "forms/byte_io.h"

namespace quillet::forms {
namespace {

UnitRecord window_unit(std::uint32_t id) {
  ControlRecord window;
  window.rect = {10, 20, 400, 300};
  window.flags = 1;
  window.events = {{0, 5}, {1, std::nullopt}};
  window.properties = std::string("\x06\0\0\0", 4) + "opaque";
  return {id, 0x00010001, 0, "", "", window};
}

UnitRecord button(std::uint32_t id, std::string name, std::uint32_t shared, Handler click) {
  ControlRecord control;
  control.rect = {-4, -8, 75, 25};  // negative positions are stored as they are
  control.parent = 0x16000009;
  control.flags = 5;
  control.focus_order = 3;
  control.events = {{0, click}, {-7, 12}};
  return {id, 0x0001000B, shared, std::move(name), "", control};
}

UnitRecord menu_item(std::uint32_t id, std::uint32_t level, std::string caption, Handler handler) {
  MenuItemRecord item;
  item.level = level;
  item.caption = std::move(caption);
  item.handler = handler;
  item.shortcut = 14;
  item.flags = 6;
  return {id, 0x00010003, 0, "", "", item};
}

FormBlock sample_block() {
  FormBlock block;
  FormRecord main;
  main.id = 0x52010001;
  main.kept_words[1] = 0x19010001;
  main.units = {window_unit(0x06000001), menu_item(0x26000002, 0, "\xCE\xC4\xBC\xFE(&F)", std::nullopt),
                menu_item(0x26000003, 1, "-", std::nullopt), button(0x16000004, "\xB0\xB4\xC5\xA5" "1", 0, 7)};
  FormRecord dialog;
  dialog.id = 0x52010002;
  dialog.units = {window_unit(0x06000010), button(0x16000011, "a", 0, 9), button(0x16000012, "b", 0x16000011, 3)};
  std::get<ControlRecord>(dialog.units[0].body).children = {0x16000011, 0x16000012};
  block.forms = {main, dialog};
  return block;
}

TEST(FormBlock, EveryFieldSurvivesTheRoundTrip) {
  const FormBlock original = sample_block();
  const std::string bytes = write_form_block(original);
  const std::optional<FormBlock> read = read_form_block(bytes);
  ASSERT_TRUE(read.has_value());
  ASSERT_EQ(read->forms.size(), 2u);
  EXPECT_EQ(write_form_block(*read), bytes);  // nothing lost or reordered

  const FormRecord& main = read->forms[0];
  EXPECT_EQ(main.id, 0x52010001u);
  EXPECT_EQ(main.kept_words[1], 0x19010001u);
  ASSERT_EQ(main.units.size(), 4u);
  const MenuItemRecord* file_menu = main.units[1].menu_item();
  ASSERT_NE(file_menu, nullptr);
  EXPECT_EQ(file_menu->caption, "\xCE\xC4\xBC\xFE(&F)");
  EXPECT_FALSE(file_menu->handler.has_value());
  EXPECT_TRUE(file_menu->disabled());
  EXPECT_TRUE(file_menu->checked());
  EXPECT_FALSE(file_menu->hidden());
  const ControlRecord* pressed = main.units[3].control();
  ASSERT_NE(pressed, nullptr);
  EXPECT_EQ(main.units[3].name, "\xB0\xB4\xC5\xA5" "1");
  EXPECT_EQ(pressed->rect, (Rect{-4, -8, 75, 25}));
  EXPECT_EQ(pressed->parent, 0x16000009u);
  EXPECT_EQ(pressed->focus_order, 3u);
  ASSERT_EQ(pressed->events.size(), 2u);
  EXPECT_EQ(pressed->events[1].event, -7);
  EXPECT_EQ(main.units[0].control()->properties, std::string("\x06\0\0\0", 4) + "opaque");
  EXPECT_EQ(read->forms[1].units[0].control()->children, (std::vector<std::uint32_t>{0x16000011, 0x16000012}));
}

TEST(FormBlock, NoHandlerIsTheAllOnesWord) {
  FormBlock block = sample_block();
  const std::string bytes = write_form_block(block);
  // The menu-bar entry's handler word is stored as FF FF FF FF.
  EXPECT_NE(bytes.find(std::string(4, '\xFF')), std::string::npos);
  const std::optional<FormBlock> read = read_form_block(bytes);
  EXPECT_EQ(read->forms[0].event_handler(0x06000001, 1), std::nullopt);
  EXPECT_EQ(read->forms[0].event_handler(0x06000001, 0), Handler(5));
}

TEST(FormBlock, SharedEventsFollowLinksOfTheSameTypeOnly) {
  FormBlock block = sample_block();
  FormRecord& dialog = block.forms[1];
  EXPECT_EQ(dialog.event_handler(0x16000012, 0), Handler(9));  // b uses a's bindings
  EXPECT_EQ(dialog.event_handler(0x16000011, 0), Handler(9));
  dialog.units[2].shared_events = 0x06000010;  // a link to a unit of another type is not followed
  EXPECT_EQ(dialog.event_handler(0x16000012, 0), Handler(3));
  dialog.units[1].shared_events = 0x16000012;  // a cycle ends
  dialog.units[2].shared_events = 0x16000011;
  (void)dialog.event_handler(0x16000012, 0);
  EXPECT_EQ(dialog.event_handler(0x16000099, 0), std::nullopt);
}

TEST(FormBlock, MenuItemsShareTheirOneHandler) {
  FormRecord form = sample_block().forms[0];
  MenuItemRecord first;
  first.handler = 42;
  form.units.push_back({0x26000010, 0x00010003, 0, "", "", first});
  form.units.push_back({0x26000011, 0x00010003, 0, "", "", MenuItemRecord{}});
  EXPECT_EQ(form.event_handler(0x26000011, 0), std::nullopt);
  form.units.back().shared_events = 0x26000010;  // as the recent-file entries are linked at start-up
  EXPECT_EQ(form.event_handler(0x26000011, 0), Handler(42));
  EXPECT_EQ(form.event_target(0x26000011)->id, 0x26000010u);
}

TEST(FormBlock, FindsFormsAndUnits) {
  const FormBlock block = sample_block();
  ASSERT_NE(block.find_form(0x52010002), nullptr);
  EXPECT_EQ(block.find_form(0x52019999), nullptr);
  EXPECT_EQ(block.forms[0].find_unit(0x16000004)->name, "\xB0\xB4\xC5\xA5" "1");
  EXPECT_EQ(block.forms[0].find_unit(0x16000005), nullptr);
  EXPECT_EQ(unit_kind(0x26000002), UnitKind::MenuItem);
}

TEST(FormBlock, MalformedBlocksAreRefusedNotOverread) {
  const std::string bytes = write_form_block(sample_block());
  for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
    EXPECT_FALSE(read_form_block(bytes.substr(0, cut)).has_value()) << cut;
  }
  std::string bad_offset = bytes;
  // Form table (4 + 16), then the first form's two words, two empty counted strings, unit
  // count and unit block length: its first offset follows the 4 unit ids. Point it far away.
  const std::size_t unit_block = 4 + 16 + 8 + 8 + 4 + 4;
  bad_offset[unit_block + 16 + 3] = '\x7F';
  EXPECT_FALSE(read_form_block(bad_offset).has_value());
}

TEST(ByteIo, ReaderStopsAtItsEnd) {
  ByteWriter out;
  out.word(0x01020304);
  out.counted("ab");
  out.terminated("cd");
  out.half_word(0xBEEF);
  ByteReader in(out.bytes());
  EXPECT_EQ(in.word(), 0x01020304u);
  EXPECT_EQ(in.counted(), "ab");
  EXPECT_EQ(in.terminated(), "cd");
  EXPECT_EQ(in.half_word(), 0xBEEF);
  EXPECT_TRUE(in.at_end());
  EXPECT_EQ(in.word(), 0u);
  EXPECT_TRUE(in.failed());
  ByteReader unterminated("xyz");
  EXPECT_EQ(unterminated.terminated(), "");
  EXPECT_TRUE(unterminated.failed());
}

}  // namespace
}  // namespace quillet::forms

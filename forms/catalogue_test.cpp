#include "forms/catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "forms/menu_walk.h"
#include "forms/properties.h"
#include "forms/stored_forms.h"

namespace quillet::forms {
namespace {

std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

CatalogueAssets assets() {
  const std::string dir = std::string(QUILLET_SOURCE_DIR) + "/forms/assets/";
  return {read_file(dir + "contact.gif"), read_file(dir + "quillet.ico")};
}

const FormBlock& catalogue() {
  static const FormBlock block = build_catalogue(assets());
  return block;
}

const UnitRecord& unit_named(const FormRecord& form, std::string_view name) {
  for (const UnitRecord& unit : form.units) {
    if (unit.name == name) return unit;
  }
  ADD_FAILURE() << "no unit " << name;
  return form.units[0];
}

TEST(Catalogue, TheStoredBlockIsCurrent) {
  const std::string stored = read_file(std::string(QUILLET_SOURCE_DIR) + "/forms/stored_forms.bin");
  EXPECT_TRUE(stored == write_form_block(catalogue())) << "forms/stored_forms.bin is out of date: run scripts/make-forms";
  EXPECT_TRUE(stored_form_block() == stored) << "the embedded block differs from forms/stored_forms.bin";
}

TEST(Catalogue, TwelveFormsInStoredOrder) {
  std::vector<std::uint32_t> ids;
  for (const FormRecord& form : catalogue().forms) ids.push_back(form.id);
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{0x52010001, 0x5201003a, 0x520100be, 0x520101aa, 0x520101c0, 0x520101d1,
                                             0x52010211, 0x5201034b, 0x52010388, 0x520103a4, 0x52010468, 0x52010527}));
  for (const FormRecord& form : catalogue().forms) {
    EXPECT_EQ(form.units[0].id, window_unit_of(form.id));
    EXPECT_EQ(unit_kind(form.units[0].id), UnitKind::Window);
    const auto window = decode_properties<WindowProperties>(form.units[0].control()->properties);
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->start_position, 1u);
    EXPECT_EQ(form.units[0].control()->rect.left, 50);
  }
}

TEST(Catalogue, TheBlockReadsBackWhole) {
  const std::string bytes = write_form_block(catalogue());
  const std::optional<FormBlock> read = read_form_block(bytes);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(write_form_block(*read), bytes);
  std::set<std::uint32_t> ids;
  for (const FormRecord& form : read->forms) {
    for (const UnitRecord& unit : form.units) EXPECT_TRUE(ids.insert(unit.id & 0x00FFFFFF).second) << std::hex << unit.id;
  }
}

TEST(Catalogue, EveryHandlerRoleIsBoundSomewhere) {
  std::set<std::uint32_t> bound;
  for (const FormRecord& form : catalogue().forms) {
    for (const UnitRecord& unit : form.units) {
      if (const MenuItemRecord* item = unit.menu_item(); item && item->handler) bound.insert(*item->handler);
      if (const ControlRecord* control = unit.control()) {
        for (const EventBinding& binding : control->events) {
          if (binding.handler) bound.insert(*binding.handler);
        }
      }
    }
  }
  for (std::uint32_t role = 0; role < static_cast<std::uint32_t>(HandlerRole::Count); ++role) {
    EXPECT_TRUE(bound.count(role)) << "role " << role;
  }
}

// Every handle the application uses names the unit of the stored block that its role says,
// with that unit's type: a handle given to the wrong control would show up here.
TEST(Catalogue, UnitHandlesNameTheirUnits) {
  struct Named {
    UnitRef unit;
    const char* name;
  };
  namespace u = unit;
  const auto context = [](const u::ContextReplaceUnits& c) {
    return std::vector<Named>{{c.find_label, "标签1"},        {c.find_before, "编辑框_寻找1"},
                              {c.find_separator, "选择框1"},   {c.find_separator_label, "标签3"},
                              {c.find_after, "编辑框_寻找2"},  {c.replace_label, "标签2"},
                              {c.replace_before, "编辑框_替换1"}, {c.replace_separator, "选择框2"},
                              {c.replace_separator_label, "标签4"}, {c.replace_after, "编辑框_替换2"},
                              {c.match_case, "选择框_大小写"}, {c.run_button, "按钮1"}};
  };
  std::vector<Named> handles = {
      {u::main_window::kDocument, "编辑框"}, {u::main_window::kContactPicture, "图片框2"},
      {u::main_window::kContactTip, "气球提示框1"}, {u::main_window::kPrinter, "打印机1"},
      {u::main_window::kCommonDialog, "通用对话框1"},
      {u::about_form::kOkButton, "按钮1"}, {u::about_form::kMessage, "标签1"},
      {u::find_form::kPrompt, "标签1"}, {u::find_form::kSearchText, "编辑框1"}, {u::find_form::kMatchCase, "选择框1"},
      {u::find_form::kSearchBackward, "搜寻上一个按钮"}, {u::find_form::kSearchForward, "搜寻下一个按钮"},
      {u::replace_form::kFindLabel, "标签1"}, {u::replace_form::kFindText, "编辑框1"},
      {u::replace_form::kReplacementLabel, "标签2"}, {u::replace_form::kReplacement, "编辑框2"},
      {u::replace_form::kMatchCase, "选择框1"}, {u::replace_form::kReplaceButton, "按钮1"},
      {u::numbered_text_form::kTextGroup, "分组框1"}, {u::numbered_text_form::kLeftText, "编辑框_文本左"},
      {u::numbered_text_form::kFirstPlus, "标签1"}, {u::numbered_text_form::kNumbered, "选择框1"},
      {u::numbered_text_form::kStartNumber, "编辑框_起始号"}, {u::numbered_text_form::kSecondPlus, "标签3"},
      {u::numbered_text_form::kRightText, "编辑框_文本右"}, {u::numbered_text_form::kLineCountLabel, "标签2"},
      {u::numbered_text_form::kLineCount, "编辑框_行数"}, {u::numbered_text_form::kRunButton, "按钮1"},
      {u::regex_form::kModeGroup, "分组框1"}, {u::regex_form::kReplaceMode, "单选框1"},
      {u::regex_form::kExtractMode, "单选框2"}, {u::regex_form::kPatternLabel, "标签1"},
      {u::regex_form::kPattern, "编辑框_正则"}, {u::regex_form::kReplacementLabel, "标签2"},
      {u::regex_form::kReplacement, "编辑框2"}, {u::regex_form::kMatchCase, "选择框1"},
      {u::regex_form::kRunButton, "按钮2"}, {u::regex_form::kNote, "标签3"},
      {u::leading_spaces_form::kGroup, "分组框1"}, {u::leading_spaces_form::kPrompt, "标签1"},
      {u::leading_spaces_form::kSpaceCount, "编辑框1"}, {u::leading_spaces_form::kRunButton, "按钮1"},
      {u::account_form::kAccountGroup, "分组框1"}, {u::account_form::kAccountLabel, "标签1"},
      {u::account_form::kAccountFixed, "单选框1"}, {u::account_form::kAccountLength, "编辑框1"},
      {u::account_form::kAccountLetterFirst, "选择框2"}, {u::account_form::kAccountRange, "单选框2"},
      {u::account_form::kAccountShortest, "编辑框2"}, {u::account_form::kAccountLongestLabel, "标签3"},
      {u::account_form::kAccountLongest, "编辑框3"}, {u::account_form::kPasswordGroup, "分组框2"},
      {u::account_form::kPasswordLabel, "标签2"}, {u::account_form::kPasswordFixed, "单选框4"},
      {u::account_form::kPasswordLength, "编辑框6"}, {u::account_form::kPasswordFixedContent, "单选框5"},
      {u::account_form::kPasswordContent, "编辑框7"}, {u::account_form::kPasswordRange, "单选框3"},
      {u::account_form::kPasswordShortest, "编辑框5"}, {u::account_form::kPasswordLongestLabel, "标签4"},
      {u::account_form::kPasswordLongest, "编辑框4"}, {u::account_form::kPasswordLetterFirst, "选择框1"},
      {u::account_form::kAmountGroup, "分组框3"}, {u::account_form::kAmount, "编辑框8"},
      {u::account_form::kRunButton, "按钮1"},
      {u::split_form::kGroup, "分组框1"}, {u::split_form::kSeparatorLabel, "标签1"},
      {u::split_form::kSeparator, "编辑框1"}, {u::split_form::kRunButton, "按钮1"}, {u::split_form::kNote, "标签2"},
      {u::delete_spaces_form::kGroup, "分组框1"}, {u::delete_spaces_form::kPrompt, "标签1"},
      {u::delete_spaces_form::kLeading, "单选框1"}, {u::delete_spaces_form::kTrailing, "单选框2"},
      {u::delete_spaces_form::kBothEnds, "单选框4"}, {u::delete_spaces_form::kAll, "单选框3"},
      {u::delete_spaces_form::kRunButton, "按钮1"}};
  for (const auto& c : {u::tab_replace_form, u::line_break_replace_form}) {
    for (const Named& named : context(c)) handles.push_back(named);
  }
  std::size_t controls = 0;
  for (const FormRecord& form : catalogue().forms) controls += form.units.size() - 1;
  std::size_t menu_items = 0;
  for (const UnitRecord& item : catalogue().forms[0].units) menu_items += item.menu_item() != nullptr;
  // Every control of every form has its handle (the main window's menu items are reached by
  // their commands, except the recent-file run).
  EXPECT_EQ(handles.size(), controls - menu_items);
  for (const Named& named : handles) {
    const FormRecord* form = catalogue().find_form(named.unit.form_id);
    ASSERT_NE(form, nullptr) << std::hex << named.unit.form_id;
    const UnitRecord* found = form->find_unit(named.unit.unit_id);
    ASSERT_NE(found, nullptr) << std::hex << named.unit.unit_id;
    EXPECT_EQ(found->name, named.name) << std::hex << named.unit.unit_id;
    EXPECT_EQ(found->type, named.unit.type) << std::hex << named.unit.unit_id;
  }
  for (const u::ContextReplaceUnits& c : {u::tab_replace_form, u::line_break_replace_form}) {
    EXPECT_EQ(catalogue().find_form(c.window.form_id)->units[0].id, c.window.unit_id);
  }
  const FormRecord& main = catalogue().forms[0];
  EXPECT_EQ(main.find_unit(u::main_window::kRecentSeparator.unit_id)->menu_item()->caption, "-");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(main.find_unit(u::main_window::kRecentItems[i].unit_id)->menu_item()->caption, std::to_string(i + 1));
  }
}

TEST(Catalogue, MainMenuCaptionsAndShortcuts) {
  const FormRecord& main = catalogue().forms[0];
  const MenuDescription menu = walk_menu(main);
  std::vector<std::string> bar;
  for (const MenuEntry& entry : menu.bar) bar.push_back(entry.caption);
  EXPECT_EQ(bar, (std::vector<std::string>{"&F.\xCE\xC4\xBC\xFE", "&E.\xB1\xE0\xBC\xAD", "&O.\xB8\xF1\xCA\xBD",
                                           "&S.\xCB\xD1\xD1\xB0", "&A.\xD0\xDE\xD5\xFD", "\xC9\xFA\xB3\xC9",
                                           "\xBD\xC5\xB1\xBE", "&H.\xB0\xEF\xD6\xFA"}));
  const MenuEntry& file = menu.bar[0];
  EXPECT_EQ(file.children[0].caption, "&N.\xD0\xC2\xBD\xA8\tCtrl+N");  // &N.新建
  EXPECT_EQ(file.children.size(), 8u);  // the hidden separator and recent entries are not shown
  EXPECT_EQ(menu.bar[3].children[1].caption, "&P.\xB2\xE9\xD5\xD2\xC9\xCF\xD2\xBB\xB8\xF6\tShift+F3");
  EXPECT_EQ(menu.bar[3].children[2].caption, "&N.\xB2\xE9\xD5\xD2\xCF\xC2\xD2\xBB\xB8\xF6\tF3");
  EXPECT_EQ(menu.bar[6].children[1].caption, "\xD4\xCB\xD0\xD0" "BAT\tF9");
  EXPECT_EQ(menu.accelerators.size(), 16u);
  // The recent-file run keeps its ids and command numbers.
  EXPECT_EQ(menu.unit_for(20007), 0x26010101u);
  EXPECT_EQ(menu.unit_for(20008), 0x26010102u);
  EXPECT_EQ(menu.unit_for(20010), 0x26010104u);
  EXPECT_TRUE(main.find_unit(0x26010103)->menu_item()->hidden());
  EXPECT_FALSE(main.find_unit(0x26010103)->menu_item()->handler.has_value());
  EXPECT_EQ(main.find_unit(0x26010102)->menu_item()->handler, Handler(static_cast<std::uint32_t>(HandlerRole::OpenRecentFile)));
}

TEST(Catalogue, MainWindowControls) {
  const FormRecord& main = catalogue().forms[0];
  EXPECT_EQ(main.units[0].id, 0x06010000u);
  const UnitRecord* edit = main.find_unit(0x16010002);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->name, "\xB1\xE0\xBC\xAD\xBF\xF2");  // 编辑框
  const auto document = decode_properties<EditBoxProperties>(edit->control()->properties);
  EXPECT_EQ(document->scroll_bars, 3u);
  EXPECT_EQ(document->text_colour, 0x00FF0000u);
  EXPECT_EQ(document->font.size(), 60u);
  const auto dialog = decode_properties<CommonDlgProperties>(main.find_unit(0x1601007f)->control()->properties);
  EXPECT_EQ(dialog->default_extension, "txt");
  EXPECT_EQ(dialog->filter.substr(0, 8), "\xCE\xC4\xB1\xBE\xCE\xC4\xBC\xFE");  // 文本文件
  EXPECT_FALSE(main.find_unit(0x1601007f)->control()->visible());
  const auto picture = decode_properties<PicBoxProperties>(main.find_unit(0x16010513)->control()->properties);
  EXPECT_EQ(picture->picture.substr(0, 6), "GIF89a");
  EXPECT_EQ(main.event_handler(0x16010513, -2), Handler(static_cast<std::uint32_t>(HandlerRole::OpenContactPage)));
  EXPECT_EQ(decode_properties<WindowProperties>(main.units[0].control()->properties)->icon.size(), 5430u);
}

TEST(Catalogue, RegexDialogControls) {
  const FormRecord& regex = *catalogue().find_form(kRegexForm);
  const UnitRecord& replace_mode = unit_named(regex, "\xB5\xA5\xD1\xA1\xBF\xF2" "1");  // 单选框1
  EXPECT_EQ(replace_mode.control()->rect, (Rect{53, 15, 48, 20}));
  EXPECT_EQ(replace_mode.control()->parent, unit_named(regex, "\xB7\xD6\xD7\xE9\xBF\xF2" "1").id);  // in 分组框1
  const auto radio = decode_properties<CheckBoxProperties>(replace_mode.control()->properties, CheckBoxProperties::kRadioVersion);
  ASSERT_TRUE(radio.has_value());
  EXPECT_EQ(radio->checked, 1u);
  EXPECT_EQ(radio->text_colour, 0x0000FFFFu);
  const UnitRecord& pattern = unit_named(regex, "\xB1\xE0\xBC\xAD\xBF\xF2_\xD5\xFD\xD4\xF2");  // 编辑框_正则
  EXPECT_EQ(pattern.control()->rect, (Rect{79, 56, 200, 20}));
  EXPECT_TRUE(pattern.control()->properties.empty());  // stored with defaults
  EXPECT_EQ(regex.event_handler(regex.units[0].id, 0), Handler(static_cast<std::uint32_t>(HandlerRole::RegexDialogCreated)));
}

TEST(Catalogue, LabelsAtANegativeTopInsideGroupBoxes) {
  const FormRecord& account = *catalogue().find_form(kAccountPasswordForm);
  const UnitRecord& label = unit_named(account, "\xB1\xEA\xC7\xA9" "2");  // 标签2
  const UnitRecord& group = unit_named(account, "\xB7\xD6\xD7\xE9\xBF\xF2" "2");  // 分组框2
  EXPECT_EQ(label.control()->rect.top, -5);
  EXPECT_EQ(label.control()->parent, group.id);
  EXPECT_EQ(group.control()->children.size(), 10u);
  const auto amount = decode_properties<EditBoxProperties>(unit_named(account, "\xB1\xE0\xBC\xAD\xBF\xF2" "8").control()->properties);
  EXPECT_EQ(amount->content, "10");
  EXPECT_EQ(amount->alignment, 1u);
  EXPECT_EQ(amount->input_mode, 3u);
}

TEST(Catalogue, FindDialogFocusOrderAndDefaultButton) {
  const FormRecord& find = *catalogue().find_form(kFindForm);
  const UnitRecord* text = find.find_unit(0x160100c0);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->control()->focus_order, 0u);
  EXPECT_EQ(find.find_unit(0x160100c1)->control()->focus_order, 1u);
  const auto next = decode_properties<ButtonProperties>(
      unit_named(find, "\xCB\xD1\xD1\xB0\xCF\xC2\xD2\xBB\xB8\xF6\xB0\xB4\xC5\xA5").control()->properties);  // 搜寻下一个按钮
  EXPECT_EQ(next->default_button, 1u);
}

}  // namespace
}  // namespace quillet::forms

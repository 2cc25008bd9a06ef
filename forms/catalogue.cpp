#include "forms/catalogue.h"

#include <optional>
#include <utility>
#include <vector>

#include "forms/properties.h"

namespace quillet::forms {
namespace {

using R = HandlerRole;
namespace M = unit::main_window;
namespace A = unit::about_form;
namespace F = unit::find_form;
namespace P = unit::replace_form;
namespace N = unit::numbered_text_form;
namespace X = unit::regex_form;
namespace L = unit::leading_spaces_form;
namespace C = unit::account_form;
namespace S = unit::split_form;
namespace D = unit::delete_spaces_form;


// The shared colour scheme (COLORREF, 0x00BBGGRR).
constexpr std::uint32_t kBlue = 0x00FF8800, kYellow = 0x0000FFFF, kBlack = 0x00000000, kWhite = 0x00FFFFFF;
constexpr std::uint32_t kVisible = 1, kTakesFocus = 4;

// Shortcut indexes of the menu.
constexpr std::uint32_t ctrl(char letter) { return static_cast<std::uint32_t>(letter - 'A' + 1); }
constexpr std::uint32_t kF3 = 29, kF8 = 34, kF9 = 35, kShiftF3 = 53;

Handler handler(R role) { return static_cast<std::uint32_t>(role); }

// A Win32 logical font record: height, width, escapement, orientation, weight, italic,
// underline, strike-out, character set, precisions, quality, pitch and family, 32-byte face.
std::string logical_font(std::int32_t height, std::uint8_t charset, std::string_view face = "") {
  ByteWriter out;
  out.signed_word(height);
  out.word(0), out.word(0), out.word(0);
  out.word(400);
  out.raw(std::string{'\0', '\0', '\0', static_cast<char>(charset), '\0', '\0', '\0', '\0'});
  std::string name(face.substr(0, 31));
  name.resize(32, '\0');
  out.raw(name);
  return out.take();
}
constexpr std::uint8_t kGb2312 = 134;

std::string edit_block(std::string content = "", std::uint32_t input_mode = 0, std::uint32_t alignment = 0) {
  EditBoxProperties edit;
  edit.text_colour = kBlack;
  edit.background_colour = kWhite;
  edit.content = std::move(content);
  edit.input_mode = input_mode;
  edit.alignment = alignment;
  return encode_properties(edit);
}

std::string button_block(std::string caption, bool default_button = false) {
  ButtonProperties button;
  button.caption = std::move(caption);
  button.default_button = default_button ? 1 : 0;
  return encode_properties(button);
}

std::string check_block(std::string caption, bool checked, std::uint32_t version = CheckBoxProperties::kVersion) {
  CheckBoxProperties check;
  check.caption = std::move(caption);
  check.checked = checked ? 1 : 0;
  check.text_colour = kYellow;
  check.background_colour = kBlue;
  return encode_properties(check, version);
}
std::string radio_block(std::string caption, bool checked = false) {
  return check_block(std::move(caption), checked, CheckBoxProperties::kRadioVersion);
}

std::string group_block(std::string caption = "", std::uint32_t text_colour = kYellow) {
  GroupBoxProperties group;
  group.caption = std::move(caption);
  group.text_colour = text_colour;
  group.background_colour = kBlue;
  return encode_properties(group);
}

std::string label_block(std::string caption, std::uint32_t highlight = kYellow, std::string font = "") {
  LabelProperties label;
  const std::uint32_t colours[] = {0x00808080, kWhite, 0x00808080, highlight, kBlue};
  for (int i = 0; i < 5; ++i) label.drawing_words[i] = colours[i];
  label.font = std::move(font);
  label.caption = std::move(caption);
  return encode_properties(label);
}

// A control of a form: its handle (id and type, from the catalogue's header) and its record.
struct Control {
  UnitRef unit;
  std::string name;
  Rect rect;
  std::string properties;
  UnitRef parent = {};
  std::vector<EventBinding> events = {};
  bool visible = true;
  std::optional<std::uint32_t> focus_order = {};
};

class FormBuilder {
 public:
  FormBuilder(std::uint32_t form_id, std::string title, std::int32_t width, std::int32_t height, std::uint32_t border,
              bool minimise_box, bool maximise_box, std::string icon = "") {
    form_.id = form_id;
    form_.kept_words[1] = 0x19010000 | (form_id & 0xFFFF);
    WindowProperties window;
    window.border = border;
    window.background_colour = kBlue;
    window.minimise_box = minimise_box ? 1 : 0;
    window.maximise_box = maximise_box ? 1 : 0;
    window.start_position = 1;
    window.title = std::move(title);
    window.icon = std::move(icon);
    ControlRecord record;
    record.rect = {50, 50, width, height};
    record.flags = kVisible;
    record.properties = encode_properties(window);
    form_.units.push_back({window_unit_of(form_id), unit::type::kWindow, 0, "", "", std::move(record)});
  }

  FormBuilder& on(std::int32_t event, R role) {
    std::get<ControlRecord>(form_.units[0].body).events.push_back({event, handler(role)});
    return *this;
  }

  void add(Control control) {
    const std::uint32_t id = control.unit.unit_id;
    const std::uint32_t type = control.unit.type;
    ControlRecord record;
    record.rect = control.rect;
    record.parent = control.parent.unit_id;
    const bool focusable = type == unit::type::kEditBox || type == unit::type::kButton ||
                           type == unit::type::kCheckBox || type == unit::type::kRadioBox;
    record.flags = (control.visible ? kVisible : 0) | (focusable ? kTakesFocus : 0);
    record.focus_order = control.focus_order.value_or(focus_counter_);
    ++focus_counter_;
    record.events = std::move(control.events);
    record.properties = std::move(control.properties);
    if (record.parent != 0) {
      for (UnitRecord& unit : form_.units) {
        if (unit.id == record.parent) std::get<ControlRecord>(unit.body).children.push_back(id);
      }
    }
    form_.units.push_back({id, type, 0, std::move(control.name), "", std::move(record)});
  }

  void menu(std::uint32_t level, std::string caption, std::uint32_t shortcut = 0, std::optional<R> role = {},
            bool hidden = false, std::optional<std::uint32_t> id = {}) {
    MenuItemRecord item;
    item.level = level;
    item.caption = std::move(caption);
    item.shortcut = shortcut;
    item.flags = hidden ? 1 : 0;
    item.handler = role ? handler(*role) : Handler();
    form_.units.push_back({id.value_or(0x26010000 | next_menu_id_++), unit::type::kMenu, 0, "", "", std::move(item)});
  }
  void start_menu_ids(std::uint32_t low) { next_menu_id_ = low; }

  FormRecord take() { return std::move(form_); }

 private:
  FormRecord form_;
  std::uint32_t next_menu_id_ = 0;
  std::uint32_t focus_counter_ = 0;
};

std::vector<EventBinding> clicked(R role) { return {{0, handler(role)}}; }

FormRecord main_window(const CatalogueAssets& assets) {
  FormBuilder f(kMainForm, "Quillet 0.1 - Quillet 开发组", 636, 498, 1, true, true, assets.main_icon);
  f.on(0, R::StartUp).on(4, R::FitEditBox).on(1, R::AskBeforeClosing).on(2, R::ShutDown);

  EditBoxProperties document;
  document.multi_line = 1;
  document.scroll_bars = 3;
  document.text_colour = 0x00FF0000;
  document.background_colour = kYellow;
  document.font = logical_font(-16, kGb2312);
  f.add({M::kDocument, "编辑框", {6, 5, 617, 435}, encode_properties(document)});

  PicBoxProperties picture;
  picture.picture = assets.contact_picture;
  f.add({M::kContactPicture, "图片框2", {571, 390, 21, 21}, encode_properties(picture), {},
         {{-2, handler(R::OpenContactPage)}}});
  f.add({M::kContactTip, "气球提示框1", {443, 392, 26, 26}, "", {}, {}, false});
  PrinterProperties printer;
  printer.font = logical_font(-16, kGb2312);
  f.add({M::kPrinter, "打印机1", {512, 394, 24, 24}, encode_properties(printer), {}, {}, false});
  CommonDlgProperties dialog;
  dialog.file_must_exist = dialog.overwrite_prompt = dialog.path_must_exist = dialog.keep_current_folder = 1;
  dialog.filter = "文本文件(*.txt)|*.txt|BAT文件(*.bat)|*.bat|VBS文件(*.vbs)|*.vbs";
  dialog.default_extension = "txt";
  f.add({M::kCommonDialog, "通用对话框1", {478, 394, 24, 24}, encode_properties(dialog), {}, {}, false});

  // Menu ids count up in walk order so that the recent-file run has the ids the application
  // uses: the hidden separator 0x26010101 and the entries 0x26010102-0x26010104.
  f.start_menu_ids(0x0101 - 7);
  f.menu(0, "&F.文件");
  f.menu(1, "&N.新建", ctrl('N'), R::NewDocument);
  f.menu(1, "&O.打开", ctrl('O'), R::OpenDocument);
  f.menu(1, "&S.保存", ctrl('S'), R::SaveDocument);
  f.menu(1, "&A.另存为", 0, R::SaveDocumentAs);
  f.menu(1, "-");
  f.menu(1, "&P.打印", ctrl('P'), R::PrintDocument);
  f.menu(1, "-", 0, {}, true);
  f.menu(1, "1", 0, R::OpenRecentFile, true);
  f.menu(1, "2", 0, {}, true);
  f.menu(1, "3", 0, {}, true);
  f.menu(1, "-");
  f.menu(1, "&X.退出", 0, R::Exit);
  f.menu(0, "&E.编辑");
  f.menu(1, "&U.撤消", ctrl('Z'), R::Undo);
  f.menu(1, "-");
  f.menu(1, "&X.剪切", ctrl('X'), R::Cut);
  f.menu(1, "&C.复制", ctrl('C'), R::Copy);
  f.menu(1, "&P.粘贴", ctrl('V'), R::Paste);
  f.menu(1, "-");
  f.menu(1, "&A.全选", ctrl('A'), R::SelectAll);
  f.menu(0, "&O.格式");
  f.menu(1, "&W.自动换行", 0, R::ToggleWordWrap);
  f.menu(1, "&F.字体", 0, R::ChooseFont);
  f.menu(0, "&S.搜寻");
  f.menu(1, "&F.查找", ctrl('F'), R::OpenFindDialog);
  f.menu(1, "&P.查找上一个", kShiftF3, R::FindPrevious);
  f.menu(1, "&N.查找下一个", kF3, R::FindNext);
  f.menu(0, "&A.修正");
  f.menu(1, "转换");
  f.menu(2, "到大写", 0, R::ToUpperCase);
  f.menu(2, "到小写", 0, R::ToLowerCase);
  f.menu(2, "到全角", 0, R::ToFullWidth);
  f.menu(2, "到半角", 0, R::ToHalfWidth);
  f.menu(1, "-");
  f.menu(1, "&R.基本替换", ctrl('H'), R::OpenReplaceDialog);
  f.menu(1, "高级替换");
  f.menu(2, "换行符前后文本", 0, R::OpenLineBreakReplace);
  f.menu(2, "Tab前后文本", 0, R::OpenTabReplace);
  f.menu(1, "&Z.正则替换/提取", 0, R::OpenRegexDialog);
  f.menu(1, "-");
  f.menu(1, "多换行符变单换行符", 0, R::CollapseLineBreaks);
  f.menu(1, "合为一段", 0, R::MergeParagraphs);
  f.menu(1, "分割文本", 0, R::OpenSplitDialog);
  f.menu(1, "空格");
  f.menu(2, "段前增减", 0, R::OpenLeadingSpacesDialog);
  f.menu(2, "删除", 0, R::OpenDeleteSpacesDialog);
  f.menu(1, "保留指定位置", 0, R::KeepPositions);
  f.menu(1, "-");
  f.menu(1, "插入文本");
  f.menu(2, "段前", 0, R::InsertBeforeParagraphs);
  f.menu(2, "段尾", 0, R::InsertAfterParagraphs);
  f.menu(2, "&T.时间", ctrl('T'), R::InsertTime);
  f.menu(0, "生成");
  f.menu(1, "带序号文本", 0, R::OpenNumberedText);
  f.menu(1, "账号密码", 0, R::OpenAccountPassword);
  f.menu(0, "脚本");
  f.menu(1, "运行VBS", kF8, R::RunVbs);
  f.menu(1, "运行BAT", kF9, R::RunBat);
  f.menu(0, "&H.帮助");
  f.menu(1, "&A.关于...", 0, R::OpenAbout);
  return f.take();
}

FormRecord about_box() {
  FormBuilder f(kAboutForm, "关于", 330, 323, 2, true, false);
  f.add({A::kOkButton, "按钮1", {119, 270, 86, 20}, button_block("确定(&C)"), {}, clicked(R::CloseAbout)});
  f.add({A::kMessage, "标签1", {6, 7, 312, 257},
         label_block("Quillet 文本工具编辑器\r\n\r\n"
                     "您还希望它做哪些文本操作？无论是新的转换、替换、提取还是批量处理，"
                     "欢迎把您的想法告诉我，好的建议会加进以后的版本。\r\n\r\n"
                     "我也承接定制软件的开发：专用的文本处理工具、数据整理、批量文件处理等，"
                     "按您的要求编写。\r\n\r\n"
                     "联系方法：点击主窗口右下角的信封图标。",
                     kYellow, logical_font(-14, kGb2312, "宋体"))});
  return f.take();
}

FormRecord find_dialog() {
  FormBuilder f(kFindForm, "搜寻", 301, 135, 2, true, false);
  f.on(0, R::FindDialogCreated);
  f.add({F::kPrompt, "标签1", {8, 5, 144, 20}, label_block("请输入欲搜寻的文本：")});
  f.add({F::kSearchText, "编辑框1", {11, 30, 272, 20}, "", {}, {{0, handler(R::FindTextChanged)}}, true, 0});
  f.add({F::kMatchCase, "选择框1", {19, 55, 134, 20}, check_block("英文字母区分大小写", false), {}, {}, true, 1});
  f.add({F::kSearchBackward, "搜寻上一个按钮", {83, 78, 97, 20}, button_block("&P.搜寻上一个"), {},
         clicked(R::SearchBackward), true, 3});
  f.add({F::kSearchForward, "搜寻下一个按钮", {189, 78, 97, 20}, button_block("&N.搜寻下一个", true), {},
         clicked(R::SearchForward), true, 4});
  return f.take();
}

FormRecord replace_dialog() {
  FormBuilder f(kReplaceForm, "替换", 310, 117, 2, false, false);
  f.add({P::kFindLabel, "标签1", {13, 8, 80, 20}, label_block("查找内容(N)：")});
  f.add({P::kFindText, "编辑框1", {96, 8, 200, 20}, ""});
  f.add({P::kReplacementLabel, "标签2", {13, 33, 80, 20}, label_block("替换为(P)：")});
  f.add({P::kReplacement, "编辑框2", {96, 33, 200, 20}, ""});
  f.add({P::kMatchCase, "选择框1", {26, 60, 108, 20}, check_block("是否区分大小写", false)});
  f.add({P::kReplaceButton, "按钮1", {177, 58, 112, 20}, button_block("替换"), {}, clicked(R::RunReplace)});
  return f.take();
}

FormRecord numbered_text() {
  FormBuilder f(kNumberedTextForm, "生成带序号文本", 383, 118, 2, false, false);
  f.on(0, R::NumberedTextCreated);
  f.add({N::kTextGroup, "分组框1", {9, 8, 359, 45}, group_block()});
  EditBoxProperties left;
  left.text_colour = kBlack;
  left.background_colour = kWhite;
  left.hide_selection = 1;
  f.add({N::kLeftText, "编辑框_文本左", {9, 16, 77, 20}, encode_properties(left), N::kTextGroup});
  f.add({N::kFirstPlus, "标签1", {88, 16, 7, 20}, label_block("+"), N::kTextGroup});
  f.add({N::kNumbered, "选择框1", {99, 16, 68, 20}, check_block("起始序号", true), N::kTextGroup});
  f.add({N::kStartNumber, "编辑框_起始号", {170, 16, 56, 20}, edit_block("", 3), N::kTextGroup});
  f.add({N::kSecondPlus, "标签3", {235, 16, 8, 20}, label_block("+"), N::kTextGroup});
  f.add({N::kRightText, "编辑框_文本右", {246, 16, 101, 20}, "", N::kTextGroup});
  f.add({N::kLineCountLabel, "标签2", {21, 61, 64, 20}, label_block("生成行数：")});
  f.add({N::kLineCount, "编辑框_行数", {94, 61, 80, 20}, edit_block("10", 7)});
  f.add({N::kRunButton, "按钮1", {251, 61, 80, 20}, button_block("生成"), {}, clicked(R::GenerateNumberedLines)});
  return f.take();
}

FormRecord regex_dialog() {
  FormBuilder f(kRegexForm, "正则替换/提取", 292, 183, 2, false, false);
  f.on(0, R::RegexDialogCreated);
  f.add({X::kModeGroup, "分组框1", {7, 8, 272, 38}, group_block()});
  f.add({X::kReplaceMode, "单选框1", {53, 15, 48, 20}, radio_block("替换", true), X::kModeGroup,
         clicked(R::RegexReplaceMode)});
  f.add({X::kExtractMode, "单选框2", {162, 15, 48, 20}, radio_block("提取"), X::kModeGroup, clicked(R::RegexExtractMode)});
  f.add({X::kPatternLabel, "标签1", {12, 57, 68, 20}, label_block("正则表达式：")});
  f.add({X::kPattern, "编辑框_正则", {79, 56, 200, 20}, ""});
  f.add({X::kReplacementLabel, "标签2", {11, 81, 67, 20}, label_block("替换为(P)：")});
  f.add({X::kReplacement, "编辑框2", {78, 80, 200, 20}, ""});
  f.add({X::kMatchCase, "选择框1", {26, 107, 104, 20}, check_block("是否区分大小写", false)});
  f.add({X::kRunButton, "按钮2", {159, 108, 96, 20}, button_block("替换"), {}, clicked(R::RunRegex)});
  f.add({X::kNote, "标签3", {11, 129, 184, 20}, label_block("注：提取后的文本以段的形式体现", 0x00FF00FF)});
  return f.take();
}

// The tab and line-break forms have the same controls; the line-break form's right-hand
// boxes sit at 279 (width 125) and its separator labels are 75 wide.
FormRecord context_replace(std::uint32_t form_id, std::string title, std::int32_t height, std::string separator,
                           bool line_break) {
  FormBuilder f(form_id, std::move(title), 420, height, 2, line_break, false);
  const std::int32_t right_left = line_break ? 279 : 261;
  const std::int32_t label_width = line_break ? 75 : 59;
  const unit::ContextReplaceUnits u = unit::context_replace_units(form_id);
  f.add({u.find_label, "标签1", {11, 8, 61, 20}, label_block("寻找文本：")});
  f.add({u.find_before, "编辑框_寻找1", {77, 8, 120, 20}, ""});
  f.add({u.find_separator, "选择框1", {214, 8, 16, 20}, check_block("", true)});
  f.add({u.find_separator_label, "标签3", {202, 8, label_width, 20}, label_block(separator)});
  f.add({u.find_after, "编辑框_寻找2", {right_left, 8, line_break ? 125 : 147, 20}, ""});
  f.add({u.replace_label, "标签2", {11, 34, 67, 20}, label_block("替换为(P)：")});
  f.add({u.replace_before, "编辑框_替换1", {77, 32, 120, 20}, ""});
  f.add({u.replace_separator, "选择框2", {214, 32, 16, 20}, check_block("", true)});
  f.add({u.replace_separator_label, "标签4", {202, 32, label_width, 20}, label_block(separator)});
  f.add({u.replace_after, "编辑框_替换2", {right_left, 32, line_break ? 125 : 146, 20}, ""});
  f.add({u.match_case, "选择框_大小写", {59, 61, 111, 20}, check_block("是否区分大小写", false)});
  f.add({u.run_button, "按钮1", {252, 58, 112, 20}, button_block("替换_换行符"), {}, clicked(R::RunContextReplace)});
  return f.take();
}

FormRecord leading_spaces() {
  FormBuilder f(kLeadingSpacesForm, "段前空格", 380, 127, 2, true, false);
  f.add({L::kGroup, "分组框1", {7, 2, 360, 64}, group_block("", kBlack)});
  f.add({L::kPrompt, "标签1", {14, 8, 332, 24}, label_block("要在每段前填充几个空格？默认为4个，也就两个汉字的长度。"),
         L::kGroup});
  f.add({L::kSpaceCount, "编辑框1", {90, 35, 180, 20}, edit_block("4", 3, 1), L::kGroup});
  f.add({L::kRunButton, "按钮1", {120, 72, 144, 20}, button_block("调整"), {}, clicked(R::IndentParagraphs)});
  return f.take();
}

FormRecord account_password() {
  FormBuilder f(kAccountPasswordForm, "生成账号密码", 380, 263, 2, true, false);
  f.on(0, R::AccountDialogCreated);
  f.add({C::kAccountGroup, "分组框1", {6, 3, 362, 63}, group_block()});
  f.add({C::kAccountLabel, "标签1", {13, -5, 24, 24}, label_block("账号"), C::kAccountGroup});
  f.add({C::kAccountFixed, "单选框1", {13, 13, 80, 20}, radio_block("固定长度："), C::kAccountGroup,
         clicked(R::AccountFixedLength)});
  f.add({C::kAccountLength, "编辑框1", {100, 13, 72, 20}, edit_block("", 3), C::kAccountGroup});
  f.add({C::kAccountLetterFirst, "选择框2", {253, 13, 94, 20}, check_block("首位不为数字", false), C::kAccountGroup});
  f.add({C::kAccountRange, "单选框2", {12, 37, 118, 20}, radio_block("长度范围  最短：", true), C::kAccountGroup,
         clicked(R::AccountLengthRange)});
  f.add({C::kAccountShortest, "编辑框2", {127, 37, 72, 20}, edit_block("", 3), C::kAccountGroup});
  f.add({C::kAccountLongestLabel, "标签3", {213, 37, 32, 20}, label_block("最长："), C::kAccountGroup});
  f.add({C::kAccountLongest, "编辑框3", {252, 37, 72, 20}, edit_block("", 3), C::kAccountGroup});
  f.add({C::kPasswordGroup, "分组框2", {6, 68, 362, 91}, group_block()});
  f.add({C::kPasswordLabel, "标签2", {13, -5, 24, 24}, label_block("密码"), C::kPasswordGroup});
  f.add({C::kPasswordFixed, "单选框4", {11, 16, 80, 20}, radio_block("固定长度："), C::kPasswordGroup,
         clicked(R::PasswordFixedLength)});
  f.add({C::kPasswordLength, "编辑框6", {98, 16, 72, 20}, edit_block("", 3), C::kPasswordGroup});
  f.add({C::kPasswordFixedContent, "单选框5", {188, 16, 80, 20}, radio_block("固定内容："), C::kPasswordGroup,
         clicked(R::PasswordFixedContent)});
  f.add({C::kPasswordContent, "编辑框7", {275, 16, 72, 20}, edit_block("", 0), C::kPasswordGroup});
  f.add({C::kPasswordRange, "单选框3", {10, 40, 120, 20}, radio_block("长度范围  最短：", true), C::kPasswordGroup,
         clicked(R::PasswordLengthRange)});
  f.add({C::kPasswordShortest, "编辑框5", {127, 40, 72, 20}, edit_block("", 3), C::kPasswordGroup});
  f.add({C::kPasswordLongestLabel, "标签4", {215, 40, 32, 20}, label_block("最长："), C::kPasswordGroup});
  f.add({C::kPasswordLongest, "编辑框4", {254, 40, 72, 20}, edit_block("", 3), C::kPasswordGroup});
  f.add({C::kPasswordLetterFirst, "选择框1", {253, 63, 94, 20}, check_block("首位不为数字", false), C::kPasswordGroup});
  f.add({C::kAmountGroup, "分组框3", {6, 162, 362, 42}, group_block("生成数量")});
  f.add({C::kAmount, "编辑框8", {92, 15, 177, 20}, edit_block("10", 3, 1), C::kAmountGroup});
  f.add({C::kRunButton, "按钮1", {115, 209, 144, 20}, button_block("生成"), {}, clicked(R::GenerateAccounts)});
  return f.take();
}

FormRecord split_text() {
  FormBuilder f(kSplitTextForm, "分割文本", 297, 154, 2, true, false);
  f.add({S::kGroup, "分组框1", {8, 8, 272, 56}, group_block()});
  f.add({S::kSeparatorLabel, "标签1", {24, 23, 40, 20}, label_block("分隔符："), S::kGroup});
  f.add({S::kSeparator, "编辑框1", {80, 23, 160, 20}, "", S::kGroup});
  f.add({S::kRunButton, "按钮1", {57, 73, 176, 20}, button_block("开始分割"), {}, clicked(R::SplitDocument)});
  f.add({S::kNote, "标签2", {8, 97, 184, 24}, label_block("注：分割后的文本以段的形式体现")});
  return f.take();
}

FormRecord delete_spaces() {
  FormBuilder f(kDeleteSpacesForm, "删除空格", 292, 144, 2, true, false);
  f.add({D::kGroup, "分组框1", {7, 8, 272, 72}, group_block()});
  f.add({D::kPrompt, "标签1", {8, 14, 104, 20}, label_block("需要删除空格部分："), D::kGroup});
  f.add({D::kLeading, "单选框1", {8, 40, 48, 24}, radio_block("段首"), D::kGroup});
  f.add({D::kTrailing, "单选框2", {72, 40, 48, 24}, radio_block("段尾"), D::kGroup});
  f.add({D::kBothEnds, "单选框4", {136, 40, 64, 24}, radio_block("段首尾"), D::kGroup});
  f.add({D::kAll, "单选框3", {217, 40, 48, 24}, radio_block("全部", true), D::kGroup});
  f.add({D::kRunButton, "按钮1", {103, 89, 80, 20}, button_block("确定"), {}, clicked(R::DeleteSpaces)});
  return f.take();
}

}  // namespace

FormBlock build_catalogue(const CatalogueAssets& assets) {
  FormBlock block;
  block.forms = {main_window(assets),
                 about_box(),
                 find_dialog(),
                 replace_dialog(),
                 numbered_text(),
                 regex_dialog(),
                 context_replace(kTabReplaceForm, "替换_TAB", 116, "+    TAB+", false),
                 context_replace(kLineBreakReplaceForm, "替换_换行符", 115, "+    换行符+", true),
                 leading_spaces(),
                 account_password(),
                 split_text(),
                 delete_spaces()};
  return block;
}

}  // namespace quillet::forms

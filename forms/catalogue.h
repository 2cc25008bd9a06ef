// Every form of the program, written out as data: the one source of the stored form
// description block. The program never reads these tables; it reads the block they produce.
//
// Handlers are named by role. In the block a role is stored as its number relative to the
// handler base; the application registers one handler per role.
#pragma once

#include <cstdint>
#include <string>

#include "forms/form_block.h"
#include "forms/unit_ref.h"

namespace quillet::forms {

enum class HandlerRole : std::uint32_t {
  // Main window (application state and layout).
  StartUp, FitEditBox, AskBeforeClosing, ShutDown, OpenContactPage,
  // File menu.
  NewDocument, OpenDocument, SaveDocument, SaveDocumentAs, PrintDocument, OpenRecentFile, Exit,
  // Edit and format menus.
  Undo, Cut, Copy, Paste, SelectAll, ToggleWordWrap, ChooseFont,
  // Search.
  OpenFindDialog, FindPrevious, FindNext, FindDialogCreated, FindTextChanged, SearchBackward, SearchForward,
  // Conversion.
  ToUpperCase, ToLowerCase, ToFullWidth, ToHalfWidth,
  // Replace.
  OpenReplaceDialog, RunReplace, OpenLineBreakReplace, OpenTabReplace, RunContextReplace,
  // Paragraph tools.
  CollapseLineBreaks, MergeParagraphs, OpenSplitDialog, SplitDocument, OpenLeadingSpacesDialog, IndentParagraphs,
  OpenDeleteSpacesDialog, DeleteSpaces, KeepPositions, InsertBeforeParagraphs, InsertAfterParagraphs,
  // Regex dialog.
  OpenRegexDialog, RegexDialogCreated, RegexReplaceMode, RegexExtractMode, RunRegex,
  // Generators.
  InsertTime, OpenNumberedText, NumberedTextCreated, GenerateNumberedLines, OpenAccountPassword,
  AccountDialogCreated, AccountFixedLength, AccountLengthRange, PasswordFixedLength, PasswordFixedContent,
  PasswordLengthRange, GenerateAccounts,
  // Scripts and help.
  RunVbs, RunBat, OpenAbout, CloseAbout,
  Count
};

inline constexpr std::uint32_t kMainForm = 0x52010001;
inline constexpr std::uint32_t kAboutForm = 0x5201003a;
inline constexpr std::uint32_t kFindForm = 0x520100be;
inline constexpr std::uint32_t kReplaceForm = 0x520101aa;
inline constexpr std::uint32_t kNumberedTextForm = 0x520101c0;
inline constexpr std::uint32_t kRegexForm = 0x520101d1;
inline constexpr std::uint32_t kTabReplaceForm = 0x52010211;
inline constexpr std::uint32_t kLineBreakReplaceForm = 0x5201034b;
inline constexpr std::uint32_t kLeadingSpacesForm = 0x52010388;
inline constexpr std::uint32_t kAccountPasswordForm = 0x520103a4;
inline constexpr std::uint32_t kSplitTextForm = 0x52010468;
inline constexpr std::uint32_t kDeleteSpacesForm = 0x52010527;

// The window unit of a form: 0x06010000 for the main window, else 0x06 and the form's low bits.
inline constexpr std::uint32_t window_unit_of(std::uint32_t form_id) {
  return form_id == kMainForm ? 0x06010000 : 0x06000000 | (form_id & 0x00FFFFFF);
}

// The units of every form by role, with their stored names beside them. The catalogue builds
// each unit under these ids and types, so the application and the stored block cannot differ.
namespace unit {
namespace type = text::type_code;

inline constexpr UnitRef window_of(std::uint32_t form_id) { return {form_id, window_unit_of(form_id), type::kWindow}; }

namespace main_window {
inline constexpr UnitRef kWindow = window_of(kMainForm);
inline constexpr UnitRef kDocument{kMainForm, 0x16010002, type::kEditBox};          // 编辑框
inline constexpr UnitRef kContactPicture{kMainForm, 0x16010513, type::kPicBox};     // 图片框2
inline constexpr UnitRef kContactTip{kMainForm, 0x16010514, type::kBalloonTip};     // 气球提示框1
inline constexpr UnitRef kPrinter{kMainForm, 0x1601009a, type::kPrinter};           // 打印机1
inline constexpr UnitRef kCommonDialog{kMainForm, 0x1601007f, type::kCommonDlg};    // 通用对话框1
// The File menu's hidden separator before the recent files, and the items "1", "2", "3".
inline constexpr UnitRef kRecentSeparator{kMainForm, 0x26010101, type::kMenu};
inline constexpr UnitRef kRecentItems[3] = {{kMainForm, 0x26010102, type::kMenu},
                                            {kMainForm, 0x26010103, type::kMenu},
                                            {kMainForm, 0x26010104, type::kMenu}};
}  // namespace main_window

namespace about_form {
inline constexpr UnitRef kWindow = window_of(kAboutForm);
inline constexpr UnitRef kOkButton{kAboutForm, 0x1601003b, type::kButton};  // 按钮1
inline constexpr UnitRef kMessage{kAboutForm, 0x1601003c, type::kLabel};    // 标签1
}  // namespace about_form

namespace find_form {
inline constexpr UnitRef kWindow = window_of(kFindForm);
inline constexpr UnitRef kPrompt{kFindForm, 0x160100bf, type::kLabel};           // 标签1
inline constexpr UnitRef kSearchText{kFindForm, 0x160100c0, type::kEditBox};     // 编辑框1
inline constexpr UnitRef kMatchCase{kFindForm, 0x160100c1, type::kCheckBox};     // 选择框1
inline constexpr UnitRef kSearchBackward{kFindForm, 0x160100c2, type::kButton};  // 搜寻上一个按钮
inline constexpr UnitRef kSearchForward{kFindForm, 0x160100c3, type::kButton};   // 搜寻下一个按钮
}  // namespace find_form

namespace replace_form {
inline constexpr UnitRef kWindow = window_of(kReplaceForm);
inline constexpr UnitRef kFindLabel{kReplaceForm, 0x160101ab, type::kLabel};         // 标签1
inline constexpr UnitRef kFindText{kReplaceForm, 0x160101ac, type::kEditBox};        // 编辑框1
inline constexpr UnitRef kReplacementLabel{kReplaceForm, 0x160101ad, type::kLabel};  // 标签2
inline constexpr UnitRef kReplacement{kReplaceForm, 0x160101ae, type::kEditBox};     // 编辑框2
inline constexpr UnitRef kMatchCase{kReplaceForm, 0x160101af, type::kCheckBox};      // 选择框1
inline constexpr UnitRef kReplaceButton{kReplaceForm, 0x160101b0, type::kButton};    // 按钮1
}  // namespace replace_form

namespace numbered_text_form {
inline constexpr UnitRef kWindow = window_of(kNumberedTextForm);
inline constexpr UnitRef kTextGroup{kNumberedTextForm, 0x160101c1, type::kGroupBox};      // 分组框1
inline constexpr UnitRef kLeftText{kNumberedTextForm, 0x160101c2, type::kEditBox};        // 编辑框_文本左
inline constexpr UnitRef kFirstPlus{kNumberedTextForm, 0x160101c3, type::kLabel};         // 标签1
inline constexpr UnitRef kNumbered{kNumberedTextForm, 0x160101c4, type::kCheckBox};       // 选择框1
inline constexpr UnitRef kStartNumber{kNumberedTextForm, 0x160101c5, type::kEditBox};     // 编辑框_起始号
inline constexpr UnitRef kSecondPlus{kNumberedTextForm, 0x160101c6, type::kLabel};        // 标签3
inline constexpr UnitRef kRightText{kNumberedTextForm, 0x160101c7, type::kEditBox};       // 编辑框_文本右
inline constexpr UnitRef kLineCountLabel{kNumberedTextForm, 0x160101c8, type::kLabel};    // 标签2
inline constexpr UnitRef kLineCount{kNumberedTextForm, 0x160101c9, type::kEditBox};       // 编辑框_行数
inline constexpr UnitRef kRunButton{kNumberedTextForm, 0x160101ca, type::kButton};        // 按钮1
}  // namespace numbered_text_form

namespace regex_form {
inline constexpr UnitRef kWindow = window_of(kRegexForm);
inline constexpr UnitRef kModeGroup{kRegexForm, 0x160101d2, type::kGroupBox};        // 分组框1
inline constexpr UnitRef kReplaceMode{kRegexForm, 0x160101d3, type::kRadioBox};      // 单选框1
inline constexpr UnitRef kExtractMode{kRegexForm, 0x160101d4, type::kRadioBox};      // 单选框2
inline constexpr UnitRef kPatternLabel{kRegexForm, 0x160101d5, type::kLabel};        // 标签1
inline constexpr UnitRef kPattern{kRegexForm, 0x160101d6, type::kEditBox};           // 编辑框_正则
inline constexpr UnitRef kReplacementLabel{kRegexForm, 0x160101d7, type::kLabel};    // 标签2
inline constexpr UnitRef kReplacement{kRegexForm, 0x160101d8, type::kEditBox};       // 编辑框2
inline constexpr UnitRef kMatchCase{kRegexForm, 0x160101d9, type::kCheckBox};        // 选择框1
inline constexpr UnitRef kRunButton{kRegexForm, 0x160101da, type::kButton};          // 按钮2
inline constexpr UnitRef kNote{kRegexForm, 0x160101db, type::kLabel};                // 标签3
}  // namespace regex_form

// The two context-replace forms ("替换_TAB" and "替换_换行符") have the same units.
struct ContextReplaceUnits {
  UnitRef window;
  UnitRef find_label;              // 标签1
  UnitRef find_before;             // 编辑框_寻找1
  UnitRef find_separator;          // 选择框1
  UnitRef find_separator_label;    // 标签3
  UnitRef find_after;              // 编辑框_寻找2
  UnitRef replace_label;           // 标签2
  UnitRef replace_before;          // 编辑框_替换1
  UnitRef replace_separator;       // 选择框2
  UnitRef replace_separator_label; // 标签4
  UnitRef replace_after;           // 编辑框_替换2
  UnitRef match_case;              // 选择框_大小写
  UnitRef run_button;              // 按钮1
};
inline constexpr ContextReplaceUnits context_replace_units(std::uint32_t form_id) {
  const std::uint32_t first = 0x16010000 | ((form_id + 1) & 0xFFFF);
  return {window_of(form_id),
          {form_id, first + 0, type::kLabel},   {form_id, first + 1, type::kEditBox},
          {form_id, first + 2, type::kCheckBox}, {form_id, first + 3, type::kLabel},
          {form_id, first + 4, type::kEditBox}, {form_id, first + 5, type::kLabel},
          {form_id, first + 6, type::kEditBox}, {form_id, first + 7, type::kCheckBox},
          {form_id, first + 8, type::kLabel},   {form_id, first + 9, type::kEditBox},
          {form_id, first + 10, type::kCheckBox}, {form_id, first + 11, type::kButton}};
}
inline constexpr ContextReplaceUnits tab_replace_form = context_replace_units(kTabReplaceForm);
inline constexpr ContextReplaceUnits line_break_replace_form = context_replace_units(kLineBreakReplaceForm);

namespace leading_spaces_form {
inline constexpr UnitRef kWindow = window_of(kLeadingSpacesForm);
inline constexpr UnitRef kGroup{kLeadingSpacesForm, 0x16010389, type::kGroupBox};     // 分组框1
inline constexpr UnitRef kPrompt{kLeadingSpacesForm, 0x1601038a, type::kLabel};       // 标签1
inline constexpr UnitRef kSpaceCount{kLeadingSpacesForm, 0x1601038b, type::kEditBox}; // 编辑框1
inline constexpr UnitRef kRunButton{kLeadingSpacesForm, 0x1601038c, type::kButton};   // 按钮1
}  // namespace leading_spaces_form

namespace account_form {
inline constexpr std::uint32_t kForm = kAccountPasswordForm;
inline constexpr UnitRef kWindow = window_of(kForm);
inline constexpr UnitRef kAccountGroup{kForm, 0x160103a5, type::kGroupBox};            // 分组框1
inline constexpr UnitRef kAccountLabel{kForm, 0x160103a6, type::kLabel};               // 标签1
inline constexpr UnitRef kAccountFixed{kForm, 0x160103a7, type::kRadioBox};            // 单选框1
inline constexpr UnitRef kAccountLength{kForm, 0x160103a8, type::kEditBox};            // 编辑框1
inline constexpr UnitRef kAccountLetterFirst{kForm, 0x160103a9, type::kCheckBox};      // 选择框2
inline constexpr UnitRef kAccountRange{kForm, 0x160103aa, type::kRadioBox};            // 单选框2
inline constexpr UnitRef kAccountShortest{kForm, 0x160103ab, type::kEditBox};          // 编辑框2
inline constexpr UnitRef kAccountLongestLabel{kForm, 0x160103ac, type::kLabel};        // 标签3
inline constexpr UnitRef kAccountLongest{kForm, 0x160103ad, type::kEditBox};           // 编辑框3
inline constexpr UnitRef kPasswordGroup{kForm, 0x160103ae, type::kGroupBox};           // 分组框2
inline constexpr UnitRef kPasswordLabel{kForm, 0x160103af, type::kLabel};              // 标签2
inline constexpr UnitRef kPasswordFixed{kForm, 0x160103b0, type::kRadioBox};           // 单选框4
inline constexpr UnitRef kPasswordLength{kForm, 0x160103b1, type::kEditBox};           // 编辑框6
inline constexpr UnitRef kPasswordFixedContent{kForm, 0x160103b2, type::kRadioBox};    // 单选框5
inline constexpr UnitRef kPasswordContent{kForm, 0x160103b3, type::kEditBox};          // 编辑框7
inline constexpr UnitRef kPasswordRange{kForm, 0x160103b4, type::kRadioBox};           // 单选框3
inline constexpr UnitRef kPasswordShortest{kForm, 0x160103b5, type::kEditBox};         // 编辑框5
inline constexpr UnitRef kPasswordLongestLabel{kForm, 0x160103b6, type::kLabel};       // 标签4
inline constexpr UnitRef kPasswordLongest{kForm, 0x160103b7, type::kEditBox};          // 编辑框4
inline constexpr UnitRef kPasswordLetterFirst{kForm, 0x160103b8, type::kCheckBox};     // 选择框1
inline constexpr UnitRef kAmountGroup{kForm, 0x160103b9, type::kGroupBox};             // 分组框3
inline constexpr UnitRef kAmount{kForm, 0x160103ba, type::kEditBox};                   // 编辑框8
inline constexpr UnitRef kRunButton{kForm, 0x160103bb, type::kButton};                 // 按钮1
}  // namespace account_form

namespace split_form {
inline constexpr UnitRef kWindow = window_of(kSplitTextForm);
inline constexpr UnitRef kGroup{kSplitTextForm, 0x16010469, type::kGroupBox};         // 分组框1
inline constexpr UnitRef kSeparatorLabel{kSplitTextForm, 0x1601046a, type::kLabel};   // 标签1
inline constexpr UnitRef kSeparator{kSplitTextForm, 0x1601046b, type::kEditBox};      // 编辑框1
inline constexpr UnitRef kRunButton{kSplitTextForm, 0x1601046c, type::kButton};       // 按钮1
inline constexpr UnitRef kNote{kSplitTextForm, 0x1601046d, type::kLabel};             // 标签2
}  // namespace split_form

namespace delete_spaces_form {
inline constexpr UnitRef kWindow = window_of(kDeleteSpacesForm);
inline constexpr UnitRef kGroup{kDeleteSpacesForm, 0x16010528, type::kGroupBox};      // 分组框1
inline constexpr UnitRef kPrompt{kDeleteSpacesForm, 0x16010529, type::kLabel};        // 标签1
inline constexpr UnitRef kLeading{kDeleteSpacesForm, 0x1601052a, type::kRadioBox};    // 单选框1 段首
inline constexpr UnitRef kTrailing{kDeleteSpacesForm, 0x1601052b, type::kRadioBox};   // 单选框2 段尾
inline constexpr UnitRef kBothEnds{kDeleteSpacesForm, 0x1601052c, type::kRadioBox};   // 单选框4 段首尾
inline constexpr UnitRef kAll{kDeleteSpacesForm, 0x1601052d, type::kRadioBox};        // 单选框3 全部
inline constexpr UnitRef kRunButton{kDeleteSpacesForm, 0x1601052e, type::kButton};    // 按钮1
}  // namespace delete_spaces_form

}  // namespace unit

struct CatalogueAssets {
  std::string contact_picture;  // GIF89a, 21 x 21
  std::string main_icon;        // two-image icon file
};

FormBlock build_catalogue(const CatalogueAssets& assets);

}  // namespace quillet::forms

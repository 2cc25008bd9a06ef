// What the editor addresses: the units of the stored forms by their catalogue handles, the
// property numbers it reads and writes, and the edit-control messages it sends.
#pragma once

#include <cstdint>

#include "forms/catalogue.h"
#include "forms/win32/property_service.h"

namespace quillet::editor {

using forms::UnitRef;
namespace main_window = forms::unit::main_window;
namespace find_form = forms::unit::find_form;
namespace replace_form = forms::unit::replace_form;
namespace split_form = forms::unit::split_form;
namespace leading_spaces_form = forms::unit::leading_spaces_form;
namespace delete_spaces_form = forms::unit::delete_spaces_form;
namespace regex_form = forms::unit::regex_form;
namespace numbered_text_form = forms::unit::numbered_text_form;
namespace account_form = forms::unit::account_form;
namespace about_form = forms::unit::about_form;
using forms::unit::line_break_replace_form;
using forms::unit::tab_replace_form;

namespace property {
// Every window and control.
inline constexpr std::int32_t kVisible = 5, kDisabled = 6;
// Window.
inline constexpr std::int32_t kTitle = 8;
// Edit box.
inline constexpr std::int32_t kContent = 8, kTextColour = 10, kFont = 12, kScrollBars = 16, kSelectionStart = 24,
                              kSelectionLength = 25;
// Edit box, read only: the characters reading the content would turn into "?".
inline constexpr std::int32_t kLostCharacters = 29;
inline constexpr std::int32_t kInputMode = 18;  // edit box
// Check box and radio box.
inline constexpr std::int32_t kBoxCaption = 11, kChecked = 18;
// Button and label.
inline constexpr std::int32_t kButtonCaption = 10, kLabelCaption = 8;
// Common dialog.
inline constexpr std::int32_t kDialogKind = 8, kDialogTitle = 9, kFileName = 10, kChosenColour = 20, kBold = 21,
                              kItalic = 22, kUnderline = 23, kStrikeOut = 24, kFaceName = 25, kPointSize = 26;
// Menu items.
inline constexpr std::int32_t kCaption = 0, kMenuVisible = 3;
}  // namespace property

// Edit-control messages the editor sends to the document.
namespace message {
inline constexpr std::int32_t kGetModify = 0x00B8, kSetModify = 0x00B9, kUndo = 0x00C7, kSetSelection = 0x00B1,
                              kCut = 0x0300, kCopy = 0x0301, kPaste = 0x0302;
}  // namespace message

// Edit box input modes.
namespace input_mode {
inline constexpr std::int32_t kAnyText = 0, kIntegerText = 3;
}  // namespace input_mode

// Message box styles.
inline constexpr std::int32_t kErrorBox = 0x10, kYesNoCancelQuestion = 0x23, kOkCancelQuestion = 0x21,
                              kInformationBox = 0x40;

inline constexpr std::int32_t kOpenFileDialog = 0, kSaveFileDialog = 1, kFontDialog = 2;
inline constexpr std::int32_t kWrapLines = 2, kNoWrap = 3;  // scroll-bar settings

}  // namespace quillet::editor

// The units of the main window that the editor addresses, and the property numbers it uses.
#pragma once

#include <cstdint>

#include "forms/catalogue.h"
#include "forms/win32/property_service.h"

namespace quillet::editor {

using forms::win32::UnitRef;
namespace unit_type = text::type_code;

inline constexpr UnitRef kMainWindow{forms::kMainForm, forms::window_unit_of(forms::kMainForm), unit_type::kWindow};
inline constexpr UnitRef kDocumentBox{forms::kMainForm, 0x16010002, unit_type::kEditBox};         // 编辑框
inline constexpr UnitRef kFileDialog{forms::kMainForm, 0x1601007f, unit_type::kCommonDlg};        // 通用对话框1
inline constexpr UnitRef kPrinter{forms::kMainForm, 0x1601009a, unit_type::kPrinter};             // 打印机1
inline constexpr UnitRef kContactPicture{forms::kMainForm, 0x16010513, unit_type::kPicBox};       // 图片框2
inline constexpr UnitRef kContactTip{forms::kMainForm, 0x16010514, unit_type::kBalloonTip};       // 气球提示框1
inline constexpr UnitRef kRecentSeparator{forms::kMainForm, 0x26010101, unit_type::kMenu};
inline constexpr UnitRef kRecentItems[3] = {{forms::kMainForm, 0x26010102, unit_type::kMenu},
                                            {forms::kMainForm, 0x26010103, unit_type::kMenu},
                                            {forms::kMainForm, 0x26010104, unit_type::kMenu}};

namespace property {
inline constexpr std::int32_t kTitle = 8;  // window
// Edit box.
inline constexpr std::int32_t kContent = 8, kTextColour = 10, kFont = 12, kScrollBars = 16;
// Common dialog.
inline constexpr std::int32_t kDialogKind = 8, kDialogTitle = 9, kFileName = 10, kChosenColour = 20, kBold = 21,
                              kItalic = 22, kUnderline = 23, kStrikeOut = 24, kFaceName = 25, kPointSize = 26;
// Menu items.
inline constexpr std::int32_t kCaption = 0, kVisible = 3;
}  // namespace property

// Edit-control messages the editor sends to the document.
namespace message {
inline constexpr std::int32_t kGetModify = 0x00B8, kSetModify = 0x00B9, kUndo = 0x00C7, kSetSelection = 0x00B1,
                              kCut = 0x0300, kCopy = 0x0301, kPaste = 0x0302;
}  // namespace message

inline constexpr std::int32_t kOpenFileDialog = 0, kSaveFileDialog = 1, kFontDialog = 2;
inline constexpr std::int32_t kWrapLines = 2, kNoWrap = 3;  // scroll-bar settings

}  // namespace quillet::editor

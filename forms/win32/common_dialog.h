// CommonDlg: the system's file open and save dialogs and its font dialog, configured by the
// unit's properties (k = number - 8): 0 kind (0 open, 1 save, 2 font, 3 help), 1 title, 2 file
// name (initial and result), 3 filter ("name|pattern|..."), 4 filter index (0-based),
// 5 initial folder, 6 default extension, 7 create prompt, 8 file must exist, 9 overwrite prompt,
// 10 path must exist, 11 keep the current folder, 12 colour, 13 bold, 14 italic, 15 underline,
// 16 strike-out, 17 font name, 18 font size (points), 19-21 kept but unused. It has no window
// of its own; file names are code page 936 text to the application.
#pragma once

#include <string>
#include <string_view>

#include "forms/properties.h"
#include "forms/win32/control.h"

namespace quillet::forms::win32 {

class CommonDialog : public TableControl<CommonDialog> {
 public:
  using TableControl::TableControl;
  static std::span<const PropertyRow<CommonDialog>> properties();
  CommonDlgProperties& stored() { return stored_; }
  const CommonDlgProperties& stored() const { return stored_; }

  bool create() override;
  // Shows the dialog of the unit's kind; true when the user confirmed. A cancelled dialog
  // changes no property.
  bool open();

 private:
  bool open_file_dialog();
  bool open_font_dialog();
  CommonDlgProperties stored_;
};

// The filter as the file dialogs want it: "||" appended unless the text already ends so, then
// every "|" a NUL. A "|" byte inside a double-byte character is not a separator.
std::wstring file_dialog_filter(std::string_view filter);

// Shows a file dialog outside any unit (the printer's "print to file" question). Empty when
// cancelled.
std::string ask_for_file(HWND owner, bool save, std::string_view title, std::string_view filter,
                         std::string_view file_name, DWORD flags);

}  // namespace quillet::forms::win32

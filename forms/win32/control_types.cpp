#include "forms/win32/control_types.h"

#include "forms/win32/balloon_tip.h"
#include "forms/win32/button.h"
#include "forms/win32/check_box.h"
#include "forms/win32/common_dialog.h"
#include "forms/win32/edit_box.h"
#include "forms/win32/form_window.h"
#include "forms/win32/group_box.h"
#include "forms/win32/label.h"
#include "forms/win32/pic_box.h"
#include "forms/win32/printer.h"
#include "text/call_frame.h"

namespace quillet::forms::win32 {

std::unique_ptr<Control> make_control(const ControlSite& site) {
  namespace type = text::type_code;
  switch (site.unit->type) {
    case type::kEditBox: return std::make_unique<EditBox>(site);
    case type::kButton: return std::make_unique<Button>(site);
    case type::kCheckBox: return std::make_unique<CheckBox>(site, false);
    case type::kRadioBox: return std::make_unique<CheckBox>(site, true);
    case type::kGroupBox: return std::make_unique<GroupBox>(site);
    case type::kLabel: return std::make_unique<Label>(site);
    case type::kPicBox: return std::make_unique<PicBox>(site);
    case type::kCommonDlg: return std::make_unique<CommonDialog>(site);
    case type::kPrinter: return std::make_unique<Printer>(site);
    case type::kBalloonTip: return std::make_unique<BalloonTip>(site);
    default: return nullptr;
  }
}

}  // namespace quillet::forms::win32

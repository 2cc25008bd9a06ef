#include "editor/main_window.h"

#include <cmath>

#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/recent_files.h"
#include "editor/settings.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "text/conversion.h"
#include "text/shell.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;
}  // namespace

void OnMainWindowCreated() {
  call::set_balloon_tip(main_window::kContactTip, main_window::kContactPicture,
                        "定做软件、提交软件建议或意见，请点击这里！", -1);
  LoadRecentFiles();
  for (int i = 0; i < 3; ++i) State().recentMenuItems[i] = main_window::kRecentItems[i];
  for (int i = 0; i < 3; ++i) ShowRecentCaption(i);
  // Only item "1" has a handler stored; "2" and "3" use its bindings and the handler tells
  // them apart by the event's sender.
  for (int i = 1; i < 3; ++i) call::link_events(State().recentMenuItems[i], State().recentMenuItems[0]);
  ShowRecentItems();
}

void FitEditBox() {
  const double width = call::client_width(main_window::kWindow) - 10.0;
  const double height = call::client_height(main_window::kWindow) - 10.0;
  // -1 tells the move method to keep the current value.
  PlaceDocument(5, 5, static_cast<std::int32_t>(std::lround(width)), static_cast<std::int32_t>(std::lround(height)));
}

bool OnCloseQuery() {
  if (!ReadDocument()) return true;  // an empty document closes without a question
  return !AskToSave();
}

void OnMainWindowDestroying() {
  StoreRecentFiles();
  const double remainder = text::call::remainder(text::call::second_of(text::call::now()), 3.0);
  if (std::fabs(remainder) <= 1e-7 && !Settings().exit_page.empty()) {
    text::call::shell_execute(text::kVerbOpen, Settings().exit_page.c_str());
  }
  Settings().end_program(0);
}

void OpenContactPage() {
  if (!Settings().contact_page.empty()) text::call::shell_execute(text::kVerbOpen, Settings().contact_page.c_str());
}

}  // namespace quillet::editor

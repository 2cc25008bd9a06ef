#include "editor/search_menu.h"

#include <string>

#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/units.h"
#include "forms/win32/methods.h"
#include "text/dialogs.h"
#include "text/search.h"
#include "tools/find.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;
}  // namespace

void FindInDocument(bool forward) {
  const AppState& state = State();
  if (!state.searchText) return;
  const tools::ByteRange selection = DocumentSelection();
  const text::OwnedText document = ReadDocument();
  const std::optional<std::size_t> found =
      tools::find_next(document ? document.get() : "", state.searchText.get(), selection,
                       forward ? tools::SearchDirection::Forward : tools::SearchDirection::Backward,
                       state.searchMatchCase);
  if (!found) {
    const std::string message = std::string("未找到指定文本“") + state.searchText.get() + "”";
    text::call::message_box(message.c_str(), kErrorBox, "错误");
    return;
  }
  SelectInDocument(*found, static_cast<std::size_t>(text::call::text_length(state.searchText.get())));
}

void OpenFindDialog() { call::load_form(find_form::kWindow, main_window::kWindow, false); }

void FindNext() { FindInDocument(true); }

void FindPrevious() { FindInDocument(false); }

}  // namespace quillet::editor

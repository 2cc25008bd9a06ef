#include "editor/about_dialog.h"

#include "editor/units.h"
#include "forms/win32/methods.h"

namespace quillet::editor {
namespace {
namespace call = forms::win32::call;
}  // namespace

void OpenAbout() { call::load_form(about_form::kWindow); }

// The destroy method without "at once" posts the close, so the window goes after the click
// that asked for it has been handled.
void CloseAbout() { call::destroy_form(about_form::kWindow); }

}  // namespace quillet::editor

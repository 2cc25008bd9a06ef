#include "editor/application.h"

#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/file_commands.h"
#include "editor/main_window.h"
#include "editor/recent_files.h"
#include "forms/catalogue.h"
#include "forms/win32/form_runtime.h"
#include "runtime/errors.h"
#include "runtime/termination.h"

namespace quillet::editor {
namespace {

using forms::HandlerRole;
using forms::win32::EventNotice;
using forms::win32::FormRuntime;

// A handler with no result of its own.
void bind(HandlerRole role, void (*command)()) {
  FormRuntime::instance().register_handler(static_cast<std::uint32_t>(role), [command](const EventNotice&) {
    command();
    return std::int64_t{0};
  });
}

}  // namespace

void register_handlers() {
  using R = HandlerRole;
  bind(R::StartUp, OnMainWindowCreated);
  bind(R::FitEditBox, FitEditBox);
  FormRuntime::instance().register_handler(static_cast<std::uint32_t>(R::AskBeforeClosing), [](const EventNotice&) {
    return std::int64_t{OnCloseQuery() ? 1 : 0};
  });
  bind(R::ShutDown, OnMainWindowDestroying);
  bind(R::NewDocument, NewDocument);
  bind(R::OpenDocument, OpenDocument);
  bind(R::SaveDocument, SaveCommand);
  bind(R::SaveDocumentAs, SaveAsCommand);
  bind(R::PrintDocument, PrintDocument);
  bind(R::OpenRecentFile, OpenRecentFile);
  bind(R::Exit, ExitCommand);
  bind(R::Undo, Undo);
  bind(R::Cut, Cut);
  bind(R::Copy, Copy);
  bind(R::Paste, Paste);
  bind(R::SelectAll, SelectAll);
  bind(R::ToggleWordWrap, ToggleWordWrap);
  bind(R::ChooseFont, ChooseFont);
}

void start_editor(const char* file_to_open) {
  FormRuntime& runtime = FormRuntime::initialise();
  create_state();
  runtime::add_exit_callback([](int) { release_state(); });
  register_handlers();
  if (!runtime.load_form(forms::kMainForm)) runtime::raise_error(0, "载入启动窗口失败");
  if (file_to_open != nullptr && *file_to_open != '\0' && LoadDocument(file_to_open)) AddRecentFile(file_to_open);
}

int run_editor(const char* file_to_open) {
  start_editor(file_to_open);
  FormRuntime::instance().run();
  return 0;
}

}  // namespace quillet::editor

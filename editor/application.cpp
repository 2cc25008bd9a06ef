#include "editor/application.h"

#include <string>

#include "editor/about_dialog.h"
#include "editor/account_dialog.h"
#include "editor/app_state.h"
#include "editor/context_replace_dialog.h"
#include "editor/conversion_menu.h"
#include "editor/delete_spaces_dialog.h"
#include "editor/document.h"
#include "editor/edit_menu.h"
#include "editor/file_menu.h"
#include "editor/find_dialog.h"
#include "editor/format_menu.h"
#include "editor/generate_menu.h"
#include "editor/insert_menu.h"
#include "editor/leading_spaces_dialog.h"
#include "editor/main_window.h"
#include "editor/numbered_text_dialog.h"
#include "editor/paragraph_menu.h"
#include "editor/recent_files.h"
#include "editor/regex_dialog.h"
#include "editor/replace_dialog.h"
#include "editor/replace_menu.h"
#include "editor/script_menu.h"
#include "editor/search_menu.h"
#include "editor/split_dialog.h"
#include "forms/catalogue.h"
#include "forms/win32/form_runtime.h"
#include "forms/win32/methods.h"
#include "runtime/errors.h"
#include "runtime/termination.h"

namespace quillet::editor {
namespace {

using forms::HandlerRole;
using forms::win32::EventNotice;
using forms::win32::FormRuntime;

// A handler with no result of its own.
void Bind(HandlerRole role, void (*command)()) {
  FormRuntime::instance().register_handler(static_cast<std::uint32_t>(role), [command](const EventNotice&) {
    command();
    return std::int64_t{0};
  });
}

// A dialog's button that hands the dialog's texts to a tool: when a box of the dialog holds
// characters that reading it would turn into "?" (normally none: the boxes keep them out), the
// user is asked first, and declining runs nothing.
void BindDialogTool(HandlerRole role, void (*command)()) {
  FormRuntime::instance().register_handler(static_cast<std::uint32_t>(role), [command](const EventNotice&) {
    const std::uint32_t form_id = forms::win32::call::event_sender().form_id;
    std::string lost;
    if (const forms::FormRecord* form = FormRuntime::instance().form(form_id)) {
      for (const forms::UnitRecord& unit : form->units) {
        if (unit.type != text::type_code::kEditBox) continue;
        const std::string in_box = CharactersLostIn({form_id, unit.id, unit.type});
        if (!in_box.empty()) lost += (lost.empty() ? "" : "、") + in_box;
      }
    }
    if (MayLoseCharacters("对话框的文本", lost, "它们将按“?”处理。\r\n\r\n仍然继续吗？")) command();
    return std::int64_t{0};
  });
}

}  // namespace

void RegisterHandlers() {
  using R = HandlerRole;
  // Main window.
  Bind(R::StartUp, OnMainWindowCreated);
  Bind(R::FitEditBox, FitEditBox);
  FormRuntime::instance().register_handler(static_cast<std::uint32_t>(R::AskBeforeClosing), [](const EventNotice&) {
    return std::int64_t{OnCloseQuery() ? 1 : 0};
  });
  Bind(R::ShutDown, OnMainWindowDestroying);
  Bind(R::OpenContactPage, OpenContactPage);
  // File menu.
  Bind(R::NewDocument, NewDocument);
  Bind(R::OpenDocument, OpenDocument);
  Bind(R::SaveDocument, SaveCommand);
  Bind(R::SaveDocumentAs, SaveAsCommand);
  Bind(R::PrintDocument, PrintDocument);
  Bind(R::OpenRecentFile, OpenRecentFile);
  Bind(R::Exit, ExitCommand);
  // Edit and Format menus.
  Bind(R::Undo, Undo);
  Bind(R::Cut, Cut);
  Bind(R::Copy, Copy);
  Bind(R::Paste, Paste);
  Bind(R::SelectAll, SelectAll);
  Bind(R::ToggleWordWrap, ToggleWordWrap);
  Bind(R::ChooseFont, ChooseFont);
  // Search menu and the find window.
  Bind(R::OpenFindDialog, OpenFindDialog);
  Bind(R::FindNext, FindNext);
  Bind(R::FindPrevious, FindPrevious);
  Bind(R::FindDialogCreated, OnFindDialogCreated);
  Bind(R::FindTextChanged, OnFindTextChanged);
  BindDialogTool(R::SearchForward, SearchForwardFromDialog);
  BindDialogTool(R::SearchBackward, SearchBackwardFromDialog);
  // Conversion.
  Bind(R::ToUpperCase, ConvertToUpperCase);
  Bind(R::ToLowerCase, ConvertToLowerCase);
  Bind(R::ToFullWidth, ConvertToFullWidth);
  Bind(R::ToHalfWidth, ConvertToHalfWidth);
  // Replace items and their dialogs.
  Bind(R::OpenReplaceDialog, OpenReplaceDialog);
  BindDialogTool(R::RunReplace, RunReplace);
  Bind(R::OpenLineBreakReplace, OpenLineBreakReplace);
  Bind(R::OpenTabReplace, OpenTabReplace);
  BindDialogTool(R::RunContextReplace, RunContextReplace);
  Bind(R::CollapseLineBreaks, CollapseLineBreaks);
  Bind(R::MergeParagraphs, MergeParagraphs);
  // Paragraph tools and their dialogs.
  Bind(R::OpenSplitDialog, OpenSplitDialog);
  BindDialogTool(R::SplitDocument, SplitDocument);
  Bind(R::OpenLeadingSpacesDialog, OpenLeadingSpacesDialog);
  BindDialogTool(R::IndentParagraphs, IndentParagraphs);
  Bind(R::OpenDeleteSpacesDialog, OpenDeleteSpacesDialog);
  BindDialogTool(R::DeleteSpaces, DeleteSpaces);
  // The regex dialog, for matches and for byte ranges.
  Bind(R::OpenRegexDialog, OpenRegexDialog);
  Bind(R::KeepPositions, OpenRangeDialog);
  Bind(R::RegexDialogCreated, OnRegexDialogCreated);
  Bind(R::RegexReplaceMode, OnFirstChoiceClicked);
  Bind(R::RegexExtractMode, OnSecondChoiceClicked);
  BindDialogTool(R::RunRegex, RunRegexDialog);
  // Inserting text, the generators and their dialogs.
  Bind(R::InsertBeforeParagraphs, OpenInsertBeforeDialog);
  Bind(R::InsertAfterParagraphs, OpenInsertAfterDialog);
  Bind(R::InsertTime, InsertTime);
  Bind(R::OpenNumberedText, OpenNumberedTextDialog);
  Bind(R::NumberedTextCreated, OnNumberedTextDialogCreated);
  BindDialogTool(R::GenerateNumberedLines, RunNumberedTextDialog);
  Bind(R::OpenAccountPassword, OpenAccountDialog);
  Bind(R::AccountDialogCreated, OnAccountDialogCreated);
  Bind(R::AccountFixedLength, OnAccountFixedLengthChosen);
  Bind(R::AccountLengthRange, OnAccountLengthRangeChosen);
  Bind(R::PasswordFixedLength, OnPasswordFixedLengthChosen);
  Bind(R::PasswordLengthRange, OnPasswordLengthRangeChosen);
  Bind(R::PasswordFixedContent, OnPasswordFixedContentChosen);
  BindDialogTool(R::GenerateAccounts, GenerateAccounts);
  // Scripts and the about window.
  Bind(R::RunVbs, RunAsVbs);
  Bind(R::RunBat, RunAsBatch);
  Bind(R::OpenAbout, OpenAbout);
  Bind(R::CloseAbout, CloseAbout);
}

void StartEditor(const char* file_to_open) {
  FormRuntime& runtime = FormRuntime::initialise();
  CreateState();
  runtime::add_exit_callback([](int) { ReleaseState(); });
  RegisterHandlers();
  if (!runtime.load_form(forms::kMainForm)) runtime::raise_error(0, "载入启动窗口失败");
  if (file_to_open != nullptr && *file_to_open != '\0' && LoadDocument(file_to_open)) AddRecentFile(file_to_open);
}

int RunEditor(const char* file_to_open) {
  StartEditor(file_to_open);
  FormRuntime::instance().run();
  return 0;
}

}  // namespace quillet::editor

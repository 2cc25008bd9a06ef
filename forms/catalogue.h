// Every form of the program, written out as data: the one source of the stored form
// description block. The program never reads these tables; it reads the block they produce.
//
// Handlers are named by role. In the block a role is stored as its number relative to the
// handler base; the application registers one handler per role.
#pragma once

#include <cstdint>
#include <string>

#include "forms/form_block.h"

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

struct CatalogueAssets {
  std::string contact_picture;  // GIF89a, 21 x 21
  std::string main_icon;        // two-image icon file
};

FormBlock build_catalogue(const CatalogueAssets& assets);

}  // namespace quillet::forms

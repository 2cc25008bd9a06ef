// The application state: program-wide variables created at start and released by the exit
// clean-up that the program registers with the runtime.
#pragma once

#include <array>
#include <cstdint>

#include "editor/units.h"
#include "text/call_frame.h"

namespace quillet::editor {

struct AppState {
  text::OwnedText currentFileName;              // empty: untitled
  std::int32_t fullWidthMode = 0;               // 1 after To full width
  std::array<text::OwnedText, 3> recentFiles;   // slot 1 (index 0) the oldest
  std::array<UnitRef, 3> recentMenuItems{};     // the menu items "1", "2", "3"
  text::OwnedText searchText;                   // the text of the last search; empty before it
  bool searchMatchCase = false;                 // the case choice of the last search
  std::int32_t dialogMode = 0;
  // The last file that was opened but read only up to a 0x00 or 0x1A, with its whole length
  // and what was read: a save over it asks before cutting it short. Empty: none.
  text::OwnedText shortReadFile;
  std::int64_t shortReadFileLength = 0;
  std::int64_t shortReadBytes = 0;
};

// Creates the state with its initial values (again, after a release).
void CreateState();
// Releases every text and clears the state; the exit clean-up.
void ReleaseState();
AppState& State();

}  // namespace quillet::editor

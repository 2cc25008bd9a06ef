#include "editor/recent_files.h"

#include <string>

#include "editor/app_state.h"
#include "editor/settings.h"
#include "editor/units.h"
#include "text/files.h"
#include "text/search.h"
#include "text/text_value.h"

namespace quillet::editor {
namespace {

namespace call = forms::win32::call;

constexpr char kSection[] = "常用文件";

bool IsEmpty(const text::OwnedText& slot) { return !slot || *slot == '\0'; }

}  // namespace

void ShowRecentCaption(int slot) {
  const text::OwnedText& path = State().recentFiles[slot];
  const std::string caption = "&" + std::to_string(slot + 1) + ". " + text::as_argument(path.get());
  call::write_text(State().recentMenuItems[slot], property::kCaption, caption.c_str());
}

void AddRecentFile(const char* path) {
  auto& slots = State().recentFiles;
  int free_slot = -1;
  for (int i = 0; i < 3; ++i) {
    if (IsEmpty(slots[i])) {
      free_slot = i;
      break;
    }
    if (text::compare_text(slots[i].get(), text::as_argument(path), false) == 0) return;  // listed: nothing moves
  }
  if (free_slot < 0) {  // full: the oldest goes
    for (int i = 0; i < 2; ++i) {
      slots[i].reset(text::copy_text(slots[i + 1].get()));
      ShowRecentCaption(i);
    }
    free_slot = 2;
  }
  slots[free_slot].reset(text::copy_text(path));
  ShowRecentCaption(free_slot);
  ShowRecentItems();
}

void ShowRecentItems() {
  const auto& slots = State().recentFiles;
  if (IsEmpty(slots[0])) return;
  call::write_bool(main_window::kRecentSeparator, property::kMenuVisible, true);
  call::write_bool(State().recentMenuItems[0], property::kMenuVisible, true);
  for (int i = 1; i < 3; ++i) {
    if (!IsEmpty(slots[i])) call::write_bool(State().recentMenuItems[i], property::kMenuVisible, true);
  }
}

void LoadRecentFiles() {
  for (int i = 0; i < 3; ++i) {
    const std::string name = std::to_string(i + 1);
    State().recentFiles[i] = text::call::read_registry_text(Settings().registry_root.c_str(), kSection, name.c_str());
  }
}

void StoreRecentFiles() {
  for (int i = 0; i < 3; ++i) {
    const std::string name = std::to_string(i + 1);
    text::call::write_registry_item(Settings().registry_root.c_str(), kSection, name.c_str(),
                                    text::text_record(State().recentFiles[i].get()));
  }
}

}  // namespace quillet::editor

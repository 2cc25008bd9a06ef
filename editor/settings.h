// What the editor takes from its build and what tests replace: the registry root of the
// recent-file list, the web addresses, and how the program ends.
#pragma once

#include <functional>
#include <string>

namespace quillet::editor {

struct EditorSettings {
  std::string registry_root = "QuilletPad";
  std::string exit_page;     // opened at exit when the second is a multiple of 3; empty: none
  std::string contact_page;  // opened by the picture on the main window; empty: none
  std::function<void(int)> end_program;  // terminate(code) unless a test replaces it
};

EditorSettings& Settings();

}  // namespace quillet::editor

#include "editor/settings.h"

#include "runtime/termination.h"

#ifndef QUILLET_EXIT_PAGE
#define QUILLET_EXIT_PAGE ""
#endif
#ifndef QUILLET_CONTACT_PAGE
#define QUILLET_CONTACT_PAGE ""
#endif

namespace quillet::editor {

EditorSettings& Settings() {
  static EditorSettings values{"QuilletPad", QUILLET_EXIT_PAGE, QUILLET_CONTACT_PAGE,
                               [](int code) { runtime::terminate(code); }};
  return values;
}

}  // namespace quillet::editor

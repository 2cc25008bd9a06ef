#include "editor/app_state.h"

#include <memory>

namespace quillet::editor {
namespace {
std::unique_ptr<AppState>& Current() {
  static std::unique_ptr<AppState> held;
  return held;
}
}  // namespace

void CreateState() { Current() = std::make_unique<AppState>(); }

void ReleaseState() { Current().reset(); }

AppState& State() {
  if (!Current()) CreateState();
  return *Current();
}

}  // namespace quillet::editor

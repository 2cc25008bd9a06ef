#include "editor/app_state.h"

#include <memory>

namespace quillet::editor {
namespace {
std::unique_ptr<AppState>& current() {
  static std::unique_ptr<AppState> held;
  return held;
}
}  // namespace

void create_state() { current() = std::make_unique<AppState>(); }

void release_state() { current().reset(); }

AppState& state() {
  if (!current()) create_state();
  return *current();
}

}  // namespace quillet::editor

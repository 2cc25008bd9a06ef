#include "runtime/termination.h"

#include <atomic>
#include <vector>

#include "runtime/platform.h"

namespace quillet::runtime {
namespace {

struct ShutdownState {
  std::vector<ExitCallback> exit_callbacks;
  std::vector<ShutdownStep> steps[3];
  std::atomic<bool> exiting{false};
};

ShutdownState& state() {
  static ShutdownState s;
  return s;
}

void run_stage(ShutdownStage stage) {
  // Steps may register further steps while running; index, not iterators.
  auto& steps = state().steps[static_cast<int>(stage)];
  for (std::size_t i = 0; i < steps.size(); ++i) steps[i]();
}

}  // namespace

int add_exit_callback(ExitCallback callback) {
  state().exit_callbacks.push_back(callback);
  return static_cast<int>(state().exit_callbacks.size()) - 1;
}

void add_shutdown_step(ShutdownStage stage, ShutdownStep step) {
  state().steps[static_cast<int>(stage)].push_back(step);
}

bool is_exiting() { return state().exiting.load(); }

void terminate(int exit_code) {
  ShutdownState& s = state();
  if (!platform::on_main_thread()) {
    platform::forward_termination_to_main_thread(exit_code);
    if (!s.exiting.load()) platform::end_process(exit_code);
    return;
  }
  if (s.exiting.exchange(true)) return;

  run_stage(ShutdownStage::CloseForms);
  for (std::size_t i = 0; i < s.exit_callbacks.size(); ++i) s.exit_callbacks[i](static_cast<int>(i));
  run_stage(ShutdownStage::UnloadLibraries);
  run_stage(ShutdownStage::ReleaseResources);
  platform::end_process(exit_code);
}

namespace detail {
void clear_exit_callbacks() { state().exit_callbacks.clear(); }
}  // namespace detail

}  // namespace quillet::runtime

// Orderly termination. terminate(code) closes every open form, runs the exit callbacks in
// registration order, lets the other layers release what they hold, and ends the process.
#pragma once

namespace quillet::runtime {

// Called with the index it was registered under (0, 1, ...).
using ExitCallback = void (*)(int index);
int add_exit_callback(ExitCallback callback);

// The layers below the application hook their own clean-up into the shutdown. Stages run in
// this order, with the exit callbacks between CloseForms and UnloadLibraries.
enum class ShutdownStage { CloseForms, UnloadLibraries, ReleaseResources };
using ShutdownStep = void (*)();
void add_shutdown_step(ShutdownStage stage, ShutdownStep step);

// Ends the program with exit_code and does not return, with two exceptions:
// - on the main thread while a shutdown is already under way (an exit step that calls it
//   again), it returns at once and the shutdown in progress ends the process;
// - on another thread it asks the main thread to shut down and, if the main thread has
//   already begun to, returns.
void terminate(int exit_code);

bool is_exiting();

namespace detail {
// After a run-time error the exit callbacks must not run.
void clear_exit_callbacks();
}  // namespace detail

}  // namespace quillet::runtime

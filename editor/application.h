// The editor's entry sequence and its handler table.
#pragma once

namespace quillet::editor {

// Binds every handler of this application to its role in the stored forms.
void RegisterHandlers();

// Starts the runtime, creates the state, registers the exit clean-up and the handlers, and
// shows the main window; a file given on the command line is then opened as Open would.
void StartEditor(const char* file_to_open);

// The whole program: StartEditor, then the message loop. Returns the exit code.
int RunEditor(const char* file_to_open);

}  // namespace quillet::editor

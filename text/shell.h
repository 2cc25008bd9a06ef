// Handing work to the Windows shell (Windows only): opening a file, folder or web address with
// its program, and the paths of well-known folders. Paths and targets are CP936 texts.
#pragma once

#include <cstdint>
#include <optional>

#include "text/call_frame.h"

// <shellapi.h> defines ShellExecute as a macro; the command keeps its own name.
#ifdef ShellExecute
#undef ShellExecute
#endif

namespace quillet::text {

inline constexpr std::int32_t kVerbEdit = 1;
inline constexpr std::int32_t kVerbExplore = 2;
inline constexpr std::int32_t kVerbFind = 3;
inline constexpr std::int32_t kVerbOpen = 4;
inline constexpr std::int32_t kVerbPrint = 5;

inline constexpr std::int32_t kFolderDocuments = 1;
inline constexpr std::int32_t kFolderTemporary = 11;

// [verb], target, [parameters], [working folder], [window state]; no result.
void ShellExecute(ValueRecord* result, std::int32_t count, ValueRecord* args);
// folder kind 1-11 -> the path ending in a backslash, or the empty text.
void SpecialFolder(ValueRecord* result, std::int32_t count, ValueRecord* args);

namespace call {
inline void shell_execute(std::optional<std::int32_t> verb, const char* target) {
  invoke(ShellExecute, verb, target, kOmitted, kOmitted, kOmitted);
}
inline OwnedText special_folder(std::int32_t kind) { return take_text(invoke(SpecialFolder, kind)); }
}  // namespace call

}  // namespace quillet::text

// The file commands (Windows only): open, read text, write text, close, write a whole file,
// and the two registry commands. File names and registry names are CP936 texts; they cross to
// the W calls through the program's codec, so files and values come out exactly as the ANSI
// calls would make them on a Chinese system.
//
// Double-byte contract: ReadFileText ends its text before the first character that starts with
// 0x00 or 0x1A; 0x1A right after a lead byte is that character's trail and does not end it.
#pragma once

#include <cstdint>
#include <optional>

#include "text/call_frame.h"

namespace quillet::text {

void OpenFile(ValueRecord* result, std::int32_t count, ValueRecord* args);      // name, [access 3], [sharing 1]
void CloseFile(ValueRecord* result, std::int32_t count, ValueRecord* args);     // file number
void ReadFileText(ValueRecord* result, std::int32_t count, ValueRecord* args);  // file number, [maximum]
// file number -> the file's length in bytes as a long (-1 when it cannot be told).
void FileLength(ValueRecord* result, std::int32_t count, ValueRecord* args);
void WriteFileText(ValueRecord* result, std::int32_t count, ValueRecord* args); // file number, values...
void WriteFile(ValueRecord* result, std::int32_t count, ValueRecord* args);     // name, byte arrays...
// name, text: the file's content becomes the text's bytes, or, on any failure, stays exactly as
// it was. The bytes go to a temporary file in the same folder first, are flushed, and only
// then replace the file (or become it when it does not exist); through a symbolic link, the
// file it names. True when the file holds them (text/safe_replace.h).
void ReplaceFileContent(ValueRecord* result, std::int32_t count, ValueRecord* args);
// -> why the last ReplaceFileContent failed, as a sentence for the user (the empty text after
// a success), saying whether the file is as it was or where the new text is.
void LastReplaceProblem(ValueRecord* result, std::int32_t count, ValueRecord* args);
// a, b -> true when the two names lead to one file (the same volume and file index, so "..",
// short 8.3 names, links and case do not matter); when either cannot be opened, when their
// full paths are the same ignoring case.
void SameFile(ValueRecord* result, std::int32_t count, ValueRecord* args);
void ReadRegistryText(ValueRecord* result, std::int32_t count, ValueRecord* args);   // root, section, name, [default]
void WriteRegistryItem(ValueRecord* result, std::int32_t count, ValueRecord* args);  // root, section, name, value

inline constexpr std::int32_t kReadExisting = 1;
inline constexpr std::int32_t kWriteExisting = 2;
inline constexpr std::int32_t kReadWriteExisting = 3;
inline constexpr std::int32_t kWriteEmptied = 4;
inline constexpr std::int32_t kWriteKept = 5;
inline constexpr std::int32_t kReadWriteKept = 6;

namespace call {
inline std::int32_t open_file(const char* name, std::optional<std::int32_t> access = {},
                              std::optional<std::int32_t> sharing = {}) {
  return int_value(invoke(OpenFile, name, access, sharing));
}
inline void close_file(std::int32_t number) { invoke(CloseFile, number); }
inline OwnedText read_file_text(std::int32_t number, std::optional<std::int32_t> maximum = {}) {
  return take_text(invoke(ReadFileText, number, maximum));
}
inline std::int64_t file_length(std::int32_t number) { return long_value(invoke(FileLength, number)); }
template <class... Values>
bool write_file_text(std::int32_t number, const Values&... values) {
  return bool_value(invoke(WriteFileText, number, values...));
}
inline bool write_file(const char* name, const void* byte_array) {
  return bool_value(invoke(WriteFile, name, byte_array_record(byte_array)));
}
inline bool replace_file_content(const char* name, const char* text) {
  return bool_value(invoke(ReplaceFileContent, name, text));
}
inline OwnedText last_replace_problem() { return take_text(invoke(LastReplaceProblem)); }
inline bool same_file(const char* a, const char* b) { return bool_value(invoke(SameFile, a, b)); }
inline OwnedText read_registry_text(const char* root, const char* section, const char* name,
                                    std::optional<const char*> fallback = {}) {
  return take_text(invoke(ReadRegistryText, root, section, name, fallback));
}
inline bool write_registry_item(const char* root, const char* section, const char* name, const ValueRecord& value) {
  return bool_value(invoke(WriteRegistryItem, root, section, name, value));
}
}  // namespace call

}  // namespace quillet::text

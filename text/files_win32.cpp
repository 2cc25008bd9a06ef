#include <windows.h>

#include <algorithm>
#include <map>
#include <string>

#include "runtime/win32_text.h"
#include "text/conversion.h"
#include "text/files.h"

namespace quillet::text {
namespace {

using runtime::win32::UniqueHandle;
using runtime::win32::UniqueKey;
using runtime::win32::narrow;
using runtime::win32::widen;

// The open files, by the non-zero number handed to the application.
struct OpenFiles {
  std::map<std::int32_t, UniqueHandle> handles;
  std::int32_t next_number = 1;
};

OpenFiles& open_files() {
  static OpenFiles files;
  return files;
}

HANDLE file_of(std::int32_t number) {
  const auto found = open_files().handles.find(number);
  return found != open_files().handles.end() ? found->second.get() : nullptr;
}

struct OpenMode {
  DWORD access;
  DWORD disposition;
};

constexpr OpenMode kModes[] = {
    {GENERIC_READ, OPEN_EXISTING},                  {GENERIC_WRITE, OPEN_EXISTING},
    {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING},  {GENERIC_WRITE, CREATE_ALWAYS},
    {GENERIC_WRITE, OPEN_ALWAYS},                   {GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS},
};
constexpr DWORD kSharing[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_SHARE_WRITE, FILE_SHARE_READ, 0};

std::int64_t file_position(HANDLE file) {
  LARGE_INTEGER position{};
  SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT);
  return position.QuadPart;
}

void move_to(HANDLE file, std::int64_t position, DWORD from = FILE_BEGIN) {
  LARGE_INTEGER distance{};
  distance.QuadPart = position;
  SetFilePointerEx(file, distance, nullptr, from);
}

bool write_all(HANDLE file, const void* bytes, std::size_t count) {
  while (count > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes, chunk, &written, nullptr) || written != chunk) return false;
    bytes = static_cast<const char*>(bytes) + chunk;
    count -= chunk;
  }
  return true;
}

bool is_written_as_text(TypeCode type) {
  return type_code::is_numeric(type) || type == type_code::kBool || type == type_code::kDateTime ||
         type == type_code::kText;
}

std::wstring registry_path(const ValueRecord& root, const ValueRecord& section) {
  return L"Software\\" + widen(text_argument(root)) + L"\\" + widen(text_argument(section));
}

char* registry_text(HKEY key, const std::wstring& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return nullptr;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return nullptr;
  std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS) {
    return nullptr;
  }
  value.resize(wcsnlen(value.c_str(), value.size()));  // up to the first NUL
  if (type == REG_EXPAND_SZ) {
    const DWORD needed = ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
    std::wstring expanded(needed, L'\0');
    ExpandEnvironmentStringsW(value.c_str(), expanded.data(), needed);
    value.assign(expanded.c_str());
  }
  return make_text(narrow(value));
}

// A file name as the W file calls take it. A path of MAX_PATH - 12 characters or more (the
// limit of a folder name) goes in the extended form, \\?\ or \\?\UNC\, which has no length
// limit; that form is taken literally, so the path is made full first (which also turns / into
// \ and resolves . and ..). Shorter paths go as they are.
std::wstring extended_path(std::wstring wide) {
  if (wide.size() < MAX_PATH - 12 || wide.starts_with(L"\\\\?\\")) return wide;
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return wide;
  std::wstring full(needed, L'\0');
  full.resize(GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr));
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::wstring file_path(std::string_view name) { return extended_path(widen(name)); }

}  // namespace

void OpenFile(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  const std::string_view name = text_argument(args[0]);
  const std::int32_t access = optional_int(count, args, 1).value_or(kReadWriteExisting);
  const std::int32_t sharing = optional_int(count, args, 2).value_or(1);
  if (name.empty() || access < 1 || access > 6 || sharing < 1 || sharing > 4) return;
  const OpenMode mode = kModes[access - 1];
  UniqueHandle file = runtime::win32::file_handle(CreateFileW(file_path(name).c_str(), mode.access, kSharing[sharing - 1],
                                                             nullptr, mode.disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  OpenFiles& files = open_files();
  const std::int32_t number = files.next_number++;
  files.handles.emplace(number, std::move(file));
  return_int(result, number);
}

void CloseFile(ValueRecord*, std::int32_t, ValueRecord* args) { open_files().handles.erase(int_value(args[0])); }

void ReadFileText(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  HANDLE file = file_of(int_value(args[0]));
  const std::optional<std::int32_t> maximum = optional_int(count, args, 1);
  if (file == nullptr || (maximum && *maximum < 1)) return;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return;
  if (!maximum && size.QuadPart == 0) return;
  const std::int64_t start = file_position(file);
  // Never more than the file still holds, so a generous maximum costs no memory.
  const std::int64_t wanted =
      std::clamp<std::int64_t>(std::min<std::int64_t>(maximum.value_or(INT32_MAX), size.QuadPart - start), 0, 0x7FFFFFF0);
  std::string bytes(static_cast<std::size_t>(wanted), '\0');
  DWORD got = 0;
  if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(wanted), &got, nullptr)) {
    move_to(file, 0, FILE_END);
    return;
  }
  // The text ends before the first character starting with 0x00 or 0x1A; a lead byte followed
  // by 0x00 ends it too and is dropped.
  std::size_t i = 0;
  while (i < got) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == 0x00 || b == 0x1A) break;
    if (b >= 0x80 && i + 1 < got) {
      if (bytes[i + 1] == '\0') {
        return_text(result, make_text(bytes.data(), i));
        move_to(file, start + static_cast<std::int64_t>(i) + 1);
        return;
      }
      i += 2;
    } else {
      ++i;
    }
  }
  const std::size_t length = std::min<std::size_t>(i, got);
  if (length < got) move_to(file, start + static_cast<std::int64_t>(length));
  return_text(result, make_text(bytes.data(), length));
}

void FileLength(ValueRecord* result, std::int32_t, ValueRecord* args) {
  HANDLE file = file_of(int_value(args[0]));
  LARGE_INTEGER size{};
  return_long(result, file != nullptr && GetFileSizeEx(file, &size) ? size.QuadPart : -1);
}

void WriteFileText(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  HANDLE file = file_of(int_value(args[0]));
  if (file == nullptr) return;
  const std::int64_t start = file_position(file);
  for (std::int32_t i = 1; i < count; ++i) {
    if (!is_written_as_text(args[i].type)) continue;
    OwnedText text(value_to_text(args[i]));
    if (!write_all(file, text.get(), text_length(text.get()))) {
      move_to(file, start);
      return;
    }
  }
  return_bool(result, true);
}

void WriteFile(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  const std::string_view name = text_argument(args[0]);
  if (name.empty()) return;
  UniqueHandle file = runtime::win32::file_handle(
      CreateFileW(file_path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  for (std::int32_t i = 1; i < count; ++i) {
    if (args[i].type != type_code::kByteArray) continue;
    const void* bytes = pointer_value(args[i]);
    if (!write_all(file.get(), byte_array_data(bytes), byte_array_size(bytes))) return;
  }
  return_bool(result, true);
}

namespace {

// Deletes the temporary file on every path that does not hand it over.
struct TemporaryFile {
  std::wstring path;
  ~TemporaryFile() {
    if (!path.empty()) DeleteFileW(path.c_str());
  }
};

}  // namespace

void ReplaceFileContent(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  if (count < 1) return;
  const std::wstring target = file_path(text_argument(args[0]));
  if (target.empty()) return;
  std::string_view bytes;
  if (count > 1 && args[1].type == type_code::kText) bytes = text_argument(args[1]);
  // The new bytes go to a temporary file beside the target, which replaces the target only
  // once they are all written and flushed: a failure leaves the old file as it was.
  // Named here rather than by GetTempFileNameW, whose buffer holds MAX_PATH characters.
  const std::size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
  TemporaryFile temporary;
  UniqueHandle file;
  for (unsigned attempt = 0; attempt < 100 && !file; ++attempt) {
    wchar_t unique[32];
    std::swprintf(unique, 32, L"qlt%08lX.tmp",
                  static_cast<unsigned long>((GetTickCount64() * 2654435761u + GetCurrentProcessId() + attempt) & 0xFFFFFFFF));
    const std::wstring name = extended_path(folder + unique);
    file = runtime::win32::file_handle(
        CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) temporary.path = name;
    else if (GetLastError() != ERROR_FILE_EXISTS) return;
  }
  if (!file) return;
  if (!write_all(file.get(), bytes.data(), bytes.size()) || !FlushFileBuffers(file.get())) return;
  file.reset();
  const std::wstring temporary_name = temporary.path;
  const bool exists = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
  const bool replaced =
      exists ? ReplaceFileW(target.c_str(), temporary_name.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE
             : MoveFileExW(temporary_name.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
  if (!replaced) return;
  temporary.path.clear();  // it is the target now
  return_bool(result, true);
}

void ReadRegistryText(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  UniqueKey key;
  char* text = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, registry_path(args[0], args[1]).c_str(), 0, KEY_READ, key.out()) == ERROR_SUCCESS) {
    text = registry_text(key.get(), widen(text_argument(args[2])));
  }
  if (text == nullptr) {
    const ValueRecord* fallback = given_argument(count, args, 3);
    if (fallback != nullptr) text = make_text(text_argument(*fallback));
  }
  return_text(result, text);
}

void WriteRegistryItem(ValueRecord* result, std::int32_t, ValueRecord* args) {
  const std::wstring path = registry_path(args[0], args[1]);
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_WRITE, key.out()) != ERROR_SUCCESS &&
      RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.out(), nullptr) != ERROR_SUCCESS) {
    return;
  }
  const std::wstring name = widen(text_argument(args[2]));
  const ValueRecord& value = args[3];
  LSTATUS status = ERROR_INVALID_DATA;
  if (type_code::is_numeric(value.type)) {
    const DWORD number = static_cast<DWORD>(value_to_integer(value));
    status = RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  } else if (value.type == type_code::kText) {
    const std::wstring text = widen(text_argument(value));
    status = RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  } else if (value.type == type_code::kByteArray) {
    const void* bytes = pointer_value(value);
    status = RegSetValueExW(key.get(), name.c_str(), 0, REG_BINARY, byte_array_data(bytes),
                            static_cast<DWORD>(byte_array_size(bytes)));
  }
  return_bool(result, status == ERROR_SUCCESS);
}

}  // namespace quillet::text

#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>
#include <tuple>
#include <string>

#include "runtime/win32_text.h"
#include "text/conversion.h"
#include "text/files.h"
#include "text/safe_replace.h"
#include "text/win32_paths.h"

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

// Why the last ReplaceFileContent failed, in the user's words; empty after a success.
std::string& last_replace_problem() {
  static std::string problem;
  return problem;
}

std::string described(const SafeReplacement& replacement) {
  const std::string reason = replacement.reason();
  switch (replacement.problem()) {
    case ReplaceProblem::None: return "";
    case ReplaceProblem::CannotOpen: return "无法访问这个文件：" + reason;
    case ReplaceProblem::NotAFile: return "这个名字指的不是普通文件。";
    case ReplaceProblem::ReadOnly: return "文件是只读的。";
    case ReplaceProblem::MayNotWrite: return "没有写入这个文件的权限：" + reason;
    case ReplaceProblem::SeveralLinks: return "这个文件有多个硬链接。";
    case ReplaceProblem::NoRoomBeside:
      return "无法在文件所在的文件夹中建立临时文件：" + reason +
             "\r\n保存时先把新内容写入同一文件夹中的临时文件，再替换原文件，以免中途失败损坏原文件。原文件没有改动。";
    case ReplaceProblem::WriteFailed: return "写入新内容失败：" + reason + "\r\n原文件没有改动。";
    case ReplaceProblem::CannotKeepOwner: return "无法保留文件的所有者：" + reason + "\r\n原文件没有改动。";
    case ReplaceProblem::ReplaceFailed: return "新内容无法替换原文件：" + reason + "\r\n原文件没有改动。";
    case ReplaceProblem::LeftBeside:
      return "原文件已被移走，新内容却无法改用原文件名（" + reason + "）。新内容保存在“" +
             narrow(replacement.temporary().wstring()) + "”中。";
  }
  return reason;
}

}  // namespace

void ReplaceFileContent(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  last_replace_problem().clear();
  if (count < 1) return;
  const std::string_view name = text_argument(args[0]);
  if (name.empty()) return;
  std::string_view bytes;
  if (count > 1 && args[1].type == type_code::kText) bytes = text_argument(args[1]);
  // A file with other names keeps them with its old text, as saving in place would not; the
  // editor saves the name it was given.
  SafeReplacement replacement({.create = true, .refuse_several_links = false});
  if (!replacement.open(std::filesystem::path(widen(name))) || !replacement.write(bytes) || !replacement.commit()) {
    last_replace_problem() = described(replacement);
    return;
  }
  return_bool(result, true);
}

namespace {

// The volume and index that name a file whatever path leads to it; none when it cannot be
// opened.
std::optional<std::tuple<DWORD, DWORD, DWORD>> identity_of(std::string_view name) {
  const UniqueHandle file = runtime::win32::file_handle(
      CreateFileW(file_path(name).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!file || !GetFileInformationByHandle(file.get(), &information)) return std::nullopt;
  return std::tuple{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
}

}  // namespace

void SameFile(ValueRecord* result, std::int32_t, ValueRecord* args) {
  const std::string_view a = text_argument(args[0]), b = text_argument(args[1]);
  if (a.empty() || b.empty()) return;
  const auto identity_a = identity_of(a), identity_b = identity_of(b);
  if (identity_a && identity_b) return return_bool(result, *identity_a == *identity_b);
  // One of them is not there to open: the paths, made full, name the same place or not.
  const std::wstring full_a = full_path(widen(a)), full_b = full_path(widen(b));
  return_bool(result, CompareStringOrdinal(full_a.c_str(), static_cast<int>(full_a.size()), full_b.c_str(),
                                           static_cast<int>(full_b.size()), TRUE) == CSTR_EQUAL);
}

void LastReplaceProblem(ValueRecord* result, std::int32_t, ValueRecord*) {
  return_text(result, make_text(last_replace_problem()));
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

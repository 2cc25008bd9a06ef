#include "cli/io.h"

#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "runtime/cp936.h"
#include "runtime/win32_text.h"

namespace quillet::cli {
namespace {

using runtime::win32::UniqueHandle;

std::string reason() {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = text != nullptr ? runtime::win32::narrow(text) : "error";
  LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) message.pop_back();
  return message;
}

bool write_all(HANDLE handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

std::string read_all(HANDLE handle, std::size_t expected) {
  std::string bytes;
  bytes.reserve(expected);
  std::string buffer(1 << 16, '\0');
  DWORD got = 0;
  while (::ReadFile(handle, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got > 0) {
    bytes.append(buffer.data(), got);
  }
  return bytes;
}

}  // namespace

Input::Input(const void* mapped, std::size_t size) : view_(static_cast<const char*>(mapped), size), mapped_(mapped) {}
Input::~Input() {
  if (mapped_ != nullptr) UnmapViewOfFile(mapped_);
}
Input::Input(Input&& other) noexcept
    : owned_(std::move(other.owned_)), view_(other.mapped_ != nullptr ? other.view_ : std::string_view(owned_)),
      mapped_(std::exchange(other.mapped_, nullptr)) {}

std::optional<Input> read_file(const std::filesystem::path& file, std::string& error) {
  UniqueHandle handle = runtime::win32::file_handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) {
    error = reason();
    return std::nullopt;
  }
  LARGE_INTEGER size{};
  GetFileSizeEx(handle.get(), &size);
  return Input(read_all(handle.get(), static_cast<std::size_t>(size.QuadPart)));
}

bool read_in_blocks(const std::filesystem::path* file, std::size_t block_size, const BlockConsumer& each_block,
                    std::string& error) {
  UniqueHandle opened;
  HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
  if (file != nullptr) {
    opened = runtime::win32::file_handle(CreateFileW(file->c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!opened) {
      error = reason();
      return false;
    }
    handle = opened.get();
  }
  std::string buffer;
  std::size_t kept = 0;
  for (bool at_end = false; !at_end;) {
    buffer.resize(kept + block_size);
    std::size_t filled = kept;
    DWORD got = 0;
    while (filled < buffer.size()) {
      if (!::ReadFile(handle, buffer.data() + filled, static_cast<DWORD>(buffer.size() - filled), &got, nullptr) || got == 0) {
        at_end = true;
        break;
      }
      filled += got;
    }
    const std::optional<std::size_t> taken = each_block(std::string_view(buffer.data(), filled), at_end);
    if (!taken) return false;
    kept = filled - *taken;
    std::memmove(buffer.data(), buffer.data() + *taken, kept);
  }
  return true;
}

std::string read_standard_input() { return read_all(GetStdHandle(STD_INPUT_HANDLE), 0); }

bool write_standard_output(std::string_view bytes) { return write_all(GetStdHandle(STD_OUTPUT_HANDLE), bytes); }

bool write_file(const std::filesystem::path& file, std::string_view bytes, std::string& error) {
  UniqueHandle handle = runtime::win32::file_handle(
      CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle || !write_all(handle.get(), bytes)) {
    error = reason();
    return false;
  }
  return true;
}

bool replace_file(const std::filesystem::path& named, std::string_view bytes, std::string& error) {
  // ReplaceFileW wants full paths; the temporary file goes beside the target's full path.
  std::error_code unknown;
  const std::filesystem::path file = std::filesystem::absolute(named, unknown);
  const DWORD attributes = GetFileAttributesW(file.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    error = reason();
    return false;
  }
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    error = "the file is read-only";
    return false;
  }
  std::filesystem::path temporary;
  UniqueHandle handle;
  for (unsigned attempt = 0; attempt < 100 && !handle; ++attempt) {
    wchar_t name[32];
    std::swprintf(name, 32, L"qlt%08lX.tmp",
                  static_cast<unsigned long>((GetTickCount64() * 2654435761u + GetCurrentProcessId() + attempt) & 0xFFFFFFFF));
    temporary = file.parent_path() / name;
    handle = runtime::win32::file_handle(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (!handle) {
    error = reason();
    return false;
  }
  const bool written = write_all(handle.get(), bytes) && FlushFileBuffers(handle.get());
  if (!written) error = reason();
  handle.reset();
  if (!written || !ReplaceFileW(file.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
    if (error.empty()) error = reason();
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

void write_message(std::string_view gbk, bool to_output) {
  const HANDLE handle = GetStdHandle(to_output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = runtime::win32::widen(gbk);
    DWORD written = 0;
    WriteConsoleW(handle, wide.c_str(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    write_all(handle, gbk);  // redirected: the bytes as the program holds them
  }
}

std::vector<std::filesystem::path> files_named(const std::filesystem::path& argument) {
  const std::wstring pattern = argument.wstring();
  if (pattern.find_first_of(L"*?") == std::wstring::npos) return {argument};
  std::vector<std::filesystem::path> found;
  WIN32_FIND_DATAW entry{};
  HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) found.push_back(argument.parent_path() / entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  std::sort(found.begin(), found.end());
  if (found.empty()) found.push_back(argument);
  return found;
}

bool standard_error_is_terminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != FALSE;
}

std::string shown_name(const std::filesystem::path& file) { return runtime::win32::narrow(file.wstring()); }

}  // namespace quillet::cli

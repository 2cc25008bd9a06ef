#include "cli/io.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <utility>

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

// One read; false on an error, which the end of a pipe whose writer has gone is not.
bool read_some(HANDLE handle, char* into, std::size_t room, DWORD& got) {
  got = 0;
  if (::ReadFile(handle, into, static_cast<DWORD>(std::min<std::size_t>(room, 1u << 30)), &got, nullptr)) return true;
  return GetLastError() == ERROR_BROKEN_PIPE;
}

UniqueHandle open_for_reading(const std::filesystem::path& file) {
  return runtime::win32::file_handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

Input::Input(const void* mapped, std::size_t size) : view_(static_cast<const char*>(mapped), size), mapped_(mapped) {}
Input::~Input() {
  if (mapped_ != nullptr) UnmapViewOfFile(mapped_);
}
Input::Input(Input&& other) noexcept
    : owned_(std::move(other.owned_)), view_(other.mapped_ != nullptr ? other.view_ : std::string_view(owned_)),
      mapped_(std::exchange(other.mapped_, nullptr)) {}

std::optional<Input> read_whole(const std::filesystem::path* file, std::uint64_t largest, ReadFailure& failure) {
  UniqueHandle opened;
  HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
  std::uint64_t expected = 0;
  if (file != nullptr) {
    opened = open_for_reading(*file);
    if (!opened) {
      failure.reason = reason();
      return std::nullopt;
    }
    handle = opened.get();
    LARGE_INTEGER size{};
    if (GetFileType(handle) == FILE_TYPE_DISK && GetFileSizeEx(handle, &size)) {
      expected = static_cast<std::uint64_t>(size.QuadPart);
      if (expected > largest) {
        failure = {true, expected, ""};
        return std::nullopt;
      }
    }
  }
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(expected));
  std::string buffer(1 << 16, '\0');
  for (DWORD got = 0;;) {
    if (!read_some(handle, buffer.data(), buffer.size(), got)) {
      failure.reason = reason();  // a read error, not the end: nothing of it is used
      return std::nullopt;
    }
    if (got == 0) break;
    bytes.append(buffer.data(), got);
    if (bytes.size() > largest) {
      failure = {true, 0, ""};
      return std::nullopt;
    }
  }
  return Input(std::move(bytes));
}

bool read_in_blocks(const std::filesystem::path* file, std::size_t block_size, const BlockConsumer& each_block,
                    std::string& error) {
  UniqueHandle opened;
  HANDLE handle = GetStdHandle(STD_INPUT_HANDLE);
  if (file != nullptr) {
    opened = open_for_reading(*file);
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
    while (filled < buffer.size()) {
      DWORD got = 0;
      if (!read_some(handle, buffer.data() + filled, buffer.size() - filled, got)) {
        error = reason();  // a read error is no end of the input: nothing more is handed on
        return false;
      }
      if (got == 0) {
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

bool write_standard_output(std::string_view bytes, std::string& error) {
  if (write_all(GetStdHandle(STD_OUTPUT_HANDLE), bytes)) return true;
  error = reason();
  return false;
}

struct OutputFile::State {
  UniqueHandle handle;
};
OutputFile::OutputFile() : state_(std::make_unique<State>()) {}
OutputFile::~OutputFile() = default;
bool OutputFile::open(const std::filesystem::path& file, std::string& error) {
  state_->handle = runtime::win32::file_handle(
      CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!state_->handle) error = reason();
  return static_cast<bool>(state_->handle);
}
bool OutputFile::write(std::string_view bytes, std::string& error) {
  if (write_all(state_->handle.get(), bytes)) return true;
  error = reason();
  return false;
}
bool OutputFile::close(std::string&) {
  state_->handle.reset();
  return true;
}

std::optional<FileIdentity> identity_of(const std::filesystem::path& file) {
  const UniqueHandle handle = runtime::win32::file_handle(
      CreateFileW(file.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (!handle || !GetFileInformationByHandle(handle.get(), &information)) return std::nullopt;
  return FileIdentity{information.dwVolumeSerialNumber,
                      (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

bool is_ordinary_file(const std::filesystem::path& file) {
  const DWORD attributes = GetFileAttributesW(file.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_DEVICE) == 0;
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

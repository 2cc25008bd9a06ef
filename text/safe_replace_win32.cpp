#include <windows.h>

#include <cwchar>

#include "runtime/win32_text.h"
#include "text/safe_replace.h"
#include "text/win32_paths.h"

namespace quillet::text {
namespace {

namespace fs = std::filesystem;
using runtime::win32::UniqueHandle;

unsigned long system_replace(const std::wstring& replaced, const std::wstring& replacement) {
  return ReplaceFileW(replaced.c_str(), replacement.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
             ? 0
             : GetLastError();
}

unsigned long system_move(const std::wstring& from, const std::wstring& to) {
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : GetLastError();
}

ReplacementCalls& calls() {
  static ReplacementCalls set{system_replace, system_move};
  return set;
}

std::string words_for(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string words = text != nullptr ? runtime::win32::narrow(text) : "error " + std::to_string(error);
  LocalFree(text);
  while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ')) words.pop_back();
  return words;
}

// The name a handle's file finally has, links followed; empty when the system cannot tell.
std::wstring final_name(HANDLE file) {
  const DWORD needed = GetFinalPathNameByHandleW(file, nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (needed == 0) return L"";
  std::wstring name(needed, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(file, name.data(), needed, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= needed) return L"";
  name.resize(length);
  return name;
}

bool file_is_missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

struct SafeReplacement::State {
  ReplaceOptions options;
  ReplaceProblem problem = ReplaceProblem::None;
  std::string reason;
  std::uint64_t links = 0;
  fs::path file, temporary;
  std::wstring target;  // as the calls take it
  bool existed = false;
  UniqueHandle handle;
  bool committed = false;

  bool fail(ReplaceProblem found, DWORD error) {
    problem = found;
    reason = error != 0 ? words_for(error) : "";
    return false;
  }
  void drop_temporary() {
    handle.reset();
    if (!temporary.empty()) DeleteFileW(extended_path(temporary.wstring()).c_str());
    temporary.clear();
  }
};

SafeReplacement::SafeReplacement(ReplaceOptions options) : state_(std::make_unique<State>()) {
  state_->options = options;
}

SafeReplacement::~SafeReplacement() {
  if (!state_->committed && state_->problem != ReplaceProblem::LeftBeside) state_->drop_temporary();
}

bool SafeReplacement::open(const fs::path& named) {
  State& s = *state_;
  // Made full now, against the folder the program runs in: the calls below want full paths.
  std::wstring full = full_path(named.wstring());
  UniqueHandle looked_at = runtime::win32::file_handle(
      CreateFileW(extended_path(full).c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!looked_at) {
    const DWORD error = GetLastError();
    if (!file_is_missing(error) || !s.options.create) return s.fail(ReplaceProblem::CannotOpen, error);
  } else {
    s.existed = true;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!GetFileInformationByHandle(looked_at.get(), &information)) return s.fail(ReplaceProblem::CannotOpen, GetLastError());
    // Through a symbolic link to the file it names.
    const std::wstring final = final_name(looked_at.get());
    if (!final.empty()) full = final.starts_with(L"\\\\?\\UNC\\") ? L"\\\\" + final.substr(8)
                               : final.starts_with(L"\\\\?\\")    ? final.substr(4)
                                                                  : final;
    s.links = information.nNumberOfLinks;
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return s.fail(ReplaceProblem::NotAFile, 0);
    if ((information.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) return s.fail(ReplaceProblem::ReadOnly, 0);
    if (s.links > 1 && s.options.refuse_several_links) return s.fail(ReplaceProblem::SeveralLinks, 0);
    // Whether this user may write it, as an editor opening it to write would learn.
    const UniqueHandle writable = runtime::win32::file_handle(
        CreateFileW(extended_path(full).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!writable) {
      const DWORD error = GetLastError();
      return s.fail(error == ERROR_ACCESS_DENIED ? ReplaceProblem::MayNotWrite : ReplaceProblem::CannotOpen, error);
    }
  }
  looked_at.reset();
  s.file = fs::path(full);
  s.target = extended_path(full);
  const std::size_t slash = full.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : full.substr(0, slash + 1);
  DWORD error = 0;
  for (unsigned attempt = 0; attempt < 100 && !s.handle; ++attempt) {
    wchar_t unique[32];
    std::swprintf(unique, 32, L"qlt%08lX.tmp",
                  static_cast<unsigned long>((GetTickCount64() * 2654435761u + GetCurrentProcessId() + attempt) & 0xFFFFFFFF));
    const std::wstring name = folder + unique;
    s.handle = runtime::win32::file_handle(
        CreateFileW(extended_path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (s.handle) {
      s.temporary = fs::path(name);
    } else if ((error = GetLastError()) != ERROR_FILE_EXISTS) {
      break;
    }
  }
  if (!s.handle) return s.fail(ReplaceProblem::NoRoomBeside, error);
  return true;
}

bool SafeReplacement::write(std::string_view bytes) {
  State& s = *state_;
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(s.handle.get(), bytes.data(), chunk, &written, nullptr) || written != chunk) {
      s.fail(ReplaceProblem::WriteFailed, GetLastError());
      s.drop_temporary();
      return false;
    }
    bytes.remove_prefix(chunk);
  }
  return true;
}

bool SafeReplacement::commit() {
  State& s = *state_;
  if (!FlushFileBuffers(s.handle.get())) {
    s.fail(ReplaceProblem::WriteFailed, GetLastError());
    s.drop_temporary();
    return false;
  }
  s.handle.reset();
  const std::wstring temporary = extended_path(s.temporary.wstring());
  if (!s.existed) {
    if (const unsigned long error = calls().move(temporary, s.target)) {
      s.fail(ReplaceProblem::ReplaceFailed, error);
      s.drop_temporary();
      return false;
    }
    s.committed = true;
    return true;
  }
  const unsigned long error = calls().replace(s.target, temporary);
  if (error == 0) {
    s.committed = true;
    return true;
  }
  // Halfway: without a backup name, 1176 means the old file is gone and 1177 that it has
  // another name; either way the new text is only in the temporary file, which must stay and
  // take the name by a move.
  if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    if (const unsigned long moved = calls().move(temporary, s.target)) {
      s.fail(ReplaceProblem::LeftBeside, moved);
      return false;
    }
    s.committed = true;
    return true;
  }
  s.fail(ReplaceProblem::ReplaceFailed, error);
  s.drop_temporary();
  return false;
}

ReplaceProblem SafeReplacement::problem() const { return state_->problem; }
const std::string& SafeReplacement::reason() const { return state_->reason; }
std::uint64_t SafeReplacement::links() const { return state_->links; }
const fs::path& SafeReplacement::file() const { return state_->file; }
const fs::path& SafeReplacement::temporary() const { return state_->temporary; }

ReplacementCalls set_replacement_calls(ReplacementCalls set) {
  const ReplacementCalls previous = calls();
  calls() = {set.replace != nullptr ? set.replace : system_replace, set.move != nullptr ? set.move : system_move};
  return previous;
}

}  // namespace quillet::text

// Rewriting a file so that it is never left half written: the new bytes go to a temporary file
// in the same folder, are flushed, and only then take the old file's place, in one rename. Until
// then, and whatever fails, the file holds what it held. Shared by the editor's save and by
// quillet-tools -i; implemented for Windows (safe_replace_win32.cpp) and POSIX
// (safe_replace_posix.cpp).
//
// The file rewritten is the one a name finally stands for: through a symbolic link, the link's
// target, so the link stays a link. Its permissions are kept (and on POSIX its owner and group).
// A file the user may not write is refused, as the shell would refuse to write it, and so, by
// default, is one with several hard links, which a rename would part (each other name would keep
// the old text).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace quillet::text {

enum class ReplaceProblem {
  None,
  CannotOpen,       // the file cannot be looked at (reason)
  NotAFile,         // a folder or a device
  ReadOnly,         // marked read-only: no write permission at all, or the read-only attribute
  MayNotWrite,      // the user has no right to write it (reason)
  SeveralLinks,     // it has links() names; rewriting one would part them
  NoRoomBeside,     // no temporary file can be made in its folder (reason)
  WriteFailed,      // the new bytes could not be written or flushed (reason)
  CannotKeepOwner,  // the new file cannot be given the old one's owner and group (reason)
  ReplaceFailed,    // the new file could not take the old one's place (reason)
  LeftBeside,       // the old file is gone and the new one could not take its name: it is
                    // still there under temporary()
};

struct ReplaceOptions {
  bool create = false;               // a file that does not exist is made
  bool refuse_several_links = true;  // otherwise the name rewritten leaves the other links
};

class SafeReplacement {
 public:
  explicit SafeReplacement(ReplaceOptions options = {});
  ~SafeReplacement();  // a temporary file not committed is deleted (not a LeftBeside one)
  SafeReplacement(const SafeReplacement&) = delete;
  SafeReplacement& operator=(const SafeReplacement&) = delete;

  // Checks that the file may be rewritten and makes the temporary file beside it.
  bool open(const std::filesystem::path& file);
  bool write(std::string_view bytes);
  // Flushes the new bytes, gives them the old file's permissions (owner and group) and puts
  // them in its place. After a failure the file is as it was (but LeftBeside).
  bool commit();

  ReplaceProblem problem() const;
  // The system's words for the failure, in GBK (the terminal's or the user interface's own
  // language); empty for the problems that need none.
  const std::string& reason() const;
  std::uint64_t links() const;
  // The file rewritten (a link's target, made full), and the temporary file.
  const std::filesystem::path& file() const;
  const std::filesystem::path& temporary() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

#if defined(_WIN32)
// The calls that put the new file in place, as the Windows side makes them: replace (the old
// file exists) and move (it is gone, or never was). Each answers the system's error code, 0 for
// success. Tests put in calls that fail as the system can, halfway included.
struct ReplacementCalls {
  unsigned long (*replace)(const std::wstring& replaced, const std::wstring& replacement) = nullptr;
  unsigned long (*move)(const std::wstring& from, const std::wstring& to) = nullptr;
};
// Sets the calls (null members: the system's own) and answers the ones set before.
ReplacementCalls set_replacement_calls(ReplacementCalls calls);
#endif

}  // namespace quillet::text

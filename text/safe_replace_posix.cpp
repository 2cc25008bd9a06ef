#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "text/safe_replace.h"

namespace quillet::text {

namespace fs = std::filesystem;

struct SafeReplacement::State {
  ReplaceOptions options;
  ReplaceProblem problem = ReplaceProblem::None;
  std::string reason;
  std::uint64_t links = 0;
  fs::path file, temporary;
  struct stat original {};
  bool existed = false;
  int descriptor = -1;
  bool committed = false;

  bool fail(ReplaceProblem found, bool with_reason = true) {
    problem = found;
    reason = with_reason ? std::strerror(errno) : "";
    return false;
  }
  void drop_temporary() {
    if (descriptor >= 0) ::close(descriptor);
    descriptor = -1;
    if (!temporary.empty()) ::unlink(temporary.c_str());
    temporary.clear();
  }
};

SafeReplacement::SafeReplacement(ReplaceOptions options) : state_(std::make_unique<State>()) {
  state_->options = options;
}

SafeReplacement::~SafeReplacement() {
  if (!state_->committed) state_->drop_temporary();
}

bool SafeReplacement::open(const fs::path& named) {
  State& s = *state_;
  struct stat status {};
  if (::stat(named.c_str(), &status) != 0) {
    if (errno != ENOENT || !s.options.create) return s.fail(ReplaceProblem::CannotOpen);
    // A new file: made in the folder named, whose own links are followed.
    std::error_code unknown;
    const fs::path folder = fs::weakly_canonical(fs::absolute(named).parent_path(), unknown);
    s.file = (unknown ? fs::absolute(named).parent_path() : folder) / named.filename();
  } else {
    // Through every symbolic link to the file itself, which is what gets rewritten.
    std::error_code unknown;
    s.file = fs::canonical(named, unknown);
    if (unknown) return s.fail(ReplaceProblem::CannotOpen);
    s.existed = true;
    s.original = status;
    s.links = status.st_nlink;
    if (!S_ISREG(status.st_mode)) return s.fail(ReplaceProblem::NotAFile, false);
    // Read-only by its permissions, even for a user the system would let write anyway (as
    // root is); then as the system would decide for this user.
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return s.fail(ReplaceProblem::ReadOnly, false);
    if (::faccessat(AT_FDCWD, s.file.c_str(), W_OK, AT_EACCESS) != 0) return s.fail(ReplaceProblem::MayNotWrite);
    if (s.links > 1 && s.options.refuse_several_links) return s.fail(ReplaceProblem::SeveralLinks, false);
  }
  std::random_device random;
  for (int attempt = 0; attempt < 100 && s.descriptor < 0; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, ".qlt%08x.tmp", random());
    const fs::path candidate = s.file.parent_path() / name;
    s.descriptor = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (s.descriptor >= 0) s.temporary = candidate;
    else if (errno != EEXIST) break;
  }
  if (s.descriptor < 0) return s.fail(ReplaceProblem::NoRoomBeside);
  return true;
}

bool SafeReplacement::write(std::string_view bytes) {
  State& s = *state_;
  while (!bytes.empty()) {
    const ssize_t written = ::write(s.descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      s.fail(ReplaceProblem::WriteFailed);
      s.drop_temporary();
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool SafeReplacement::commit() {
  State& s = *state_;
  const auto failed = [&s](ReplaceProblem problem) {
    s.fail(problem);
    s.drop_temporary();
    return false;
  };
  mode_t mode = 0;
  if (s.existed) {
    // The owner and group first: changing them may clear the set-user and set-group bits.
    struct stat made {};
    if (::fstat(s.descriptor, &made) != 0) return failed(ReplaceProblem::WriteFailed);
    if ((made.st_uid != s.original.st_uid || made.st_gid != s.original.st_gid) &&
        ::fchown(s.descriptor, s.original.st_uid, s.original.st_gid) != 0) {
      return failed(ReplaceProblem::CannotKeepOwner);
    }
    mode = s.original.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(s.descriptor, mode) != 0 || ::fsync(s.descriptor) != 0) return failed(ReplaceProblem::WriteFailed);
  const int closed = ::close(s.descriptor);
  s.descriptor = -1;
  if (closed != 0) return failed(ReplaceProblem::WriteFailed);
  if (::rename(s.temporary.c_str(), s.file.c_str()) != 0) return failed(ReplaceProblem::ReplaceFailed);
  s.committed = true;
  // The rename itself lasts only once the folder is on the disk too.
  const int folder = ::open(s.file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

ReplaceProblem SafeReplacement::problem() const { return state_->problem; }
const std::string& SafeReplacement::reason() const { return state_->reason; }
std::uint64_t SafeReplacement::links() const { return state_->links; }
const fs::path& SafeReplacement::file() const { return state_->file; }
const fs::path& SafeReplacement::temporary() const { return state_->temporary; }

}  // namespace quillet::text

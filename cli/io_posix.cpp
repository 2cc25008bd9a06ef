#include "cli/io.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace quillet::cli {
namespace {

std::string reason() { return std::strerror(errno); }

bool write_all(int descriptor, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Reads to the end, but no more than largest bytes and one over; false on a read error.
bool read_all(int descriptor, std::uint64_t largest, std::string& bytes, std::string& error) {
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = reason();
      return false;
    }
    if (got == 0) return true;
    bytes.append(buffer, static_cast<std::size_t>(got));
    if (bytes.size() > largest) return true;
  }
}

// GBK into UTF-8 for the terminal; bytes that are no GBK stay as they are.
std::string to_terminal(std::string_view gbk) {
  iconv_t converter = iconv_open("UTF-8", "CP936");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(gbk);
  std::string out(gbk.size() * 3 + 8, '\0');
  char* in = const_cast<char*>(gbk.data());
  std::size_t in_left = gbk.size();
  char* o = out.data();
  std::size_t out_left = out.size();
  while (in_left > 0) {
    if (iconv(converter, &in, &in_left, &o, &out_left) != static_cast<std::size_t>(-1)) break;
    if (out_left == 0) break;
    *o++ = *in++;  // not GBK: passed through
    --in_left;
    --out_left;
  }
  iconv_close(converter);
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace

Input::Input(const void* mapped, std::size_t size) : view_(static_cast<const char*>(mapped), size), mapped_(mapped) {}
Input::~Input() {
  if (mapped_ != nullptr) ::munmap(const_cast<void*>(mapped_), view_.size());
}
Input::Input(Input&& other) noexcept
    : owned_(std::move(other.owned_)), view_(other.mapped_ != nullptr ? other.view_ : std::string_view(owned_)),
      mapped_(std::exchange(other.mapped_, nullptr)) {}

std::optional<Input> read_whole(const std::filesystem::path* file, std::uint64_t largest, ReadFailure& failure) {
  const int descriptor = file != nullptr ? ::open(file->c_str(), O_RDONLY | O_CLOEXEC) : STDIN_FILENO;
  if (descriptor < 0) {
    failure.reason = reason();
    return std::nullopt;
  }
  const auto close_it = [&] {
    if (file != nullptr) ::close(descriptor);
  };
  struct stat status {};
  if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
    close_it();
    failure.reason = "is a directory";
    return std::nullopt;
  }
  if (S_ISREG(status.st_mode) && static_cast<std::uint64_t>(status.st_size) > largest) {
    close_it();
    failure = {true, static_cast<std::uint64_t>(status.st_size), ""};
    return std::nullopt;
  }
  // A regular file is mapped: its bytes are read where the system keeps them.
  if (file != nullptr && S_ISREG(status.st_mode) && status.st_size > 0) {
    void* mapped = ::mmap(nullptr, static_cast<std::size_t>(status.st_size), PROT_READ, MAP_PRIVATE, descriptor, 0);
    if (mapped != MAP_FAILED) {
      ::madvise(mapped, static_cast<std::size_t>(status.st_size), MADV_SEQUENTIAL);
      close_it();
      return Input(mapped, static_cast<std::size_t>(status.st_size));
    }
  }
  std::string bytes;
  if (S_ISREG(status.st_mode)) bytes.reserve(static_cast<std::size_t>(status.st_size));
  const bool read = read_all(descriptor, largest, bytes, failure.reason);
  close_it();
  if (!read) return std::nullopt;
  if (bytes.size() > largest) {
    failure = {true, 0, ""};  // a pipe: its whole size is not known
    return std::nullopt;
  }
  return Input(std::move(bytes));
}

bool read_in_blocks(const std::filesystem::path* file, std::size_t block_size, const BlockConsumer& each_block,
                    std::string& error) {
  const int descriptor = file != nullptr ? ::open(file->c_str(), O_RDONLY | O_CLOEXEC) : STDIN_FILENO;
  if (descriptor < 0) {
    error = reason();
    return false;
  }
  std::string buffer;
  std::size_t kept = 0;  // bytes left at the front by the last call
  bool going = true;
  for (bool at_end = false; going && !at_end;) {
    buffer.resize(kept + block_size);
    std::size_t filled = kept;
    while (filled < buffer.size()) {  // whole blocks, also from a pipe
      const ssize_t got = ::read(descriptor, buffer.data() + filled, buffer.size() - filled);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) error = reason();
      if (got <= 0) {
        at_end = true;
        break;
      }
      filled += static_cast<std::size_t>(got);
    }
    if (!error.empty()) break;  // a read error is no end of the input: nothing more is handed on
    const std::optional<std::size_t> taken = each_block(std::string_view(buffer.data(), filled), at_end);
    going = taken.has_value();
    if (going) {
      kept = filled - *taken;
      std::memmove(buffer.data(), buffer.data() + *taken, kept);
    }
  }
  if (file != nullptr) ::close(descriptor);
  return error.empty() && going;
}

bool write_standard_output(std::string_view bytes, std::string& error) {
  if (write_all(STDOUT_FILENO, bytes)) return true;
  error = reason();
  return false;
}

struct OutputFile::State {
  int descriptor = -1;
};
OutputFile::OutputFile() : state_(std::make_unique<State>()) {}
OutputFile::~OutputFile() {
  if (state_->descriptor >= 0) ::close(state_->descriptor);
}
bool OutputFile::open(const std::filesystem::path& file, std::string& error) {
  state_->descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (state_->descriptor < 0) error = reason();
  return state_->descriptor >= 0;
}
bool OutputFile::write(std::string_view bytes, std::string& error) {
  if (write_all(state_->descriptor, bytes)) return true;
  error = reason();
  return false;
}
bool OutputFile::close(std::string& error) {
  const int descriptor = std::exchange(state_->descriptor, -1);
  if (::close(descriptor) == 0) return true;
  error = reason();
  return false;
}

std::optional<FileIdentity> identity_of(const std::filesystem::path& file) {
  struct stat status {};
  if (::stat(file.c_str(), &status) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

bool is_ordinary_file(const std::filesystem::path& file) {
  struct stat status {};
  return ::stat(file.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

void write_message(std::string_view gbk, bool to_output) {
  write_all(to_output ? STDOUT_FILENO : STDERR_FILENO, to_terminal(gbk));
}

std::vector<std::filesystem::path> files_named(const std::filesystem::path& argument) { return {argument}; }

bool standard_error_is_terminal() { return ::isatty(STDERR_FILENO) != 0; }

std::string shown_name(const std::filesystem::path& file) {
  // The name's bytes are the terminal's (UTF-8): turned into GBK where GBK holds them.
  const std::string name = file.string();
  iconv_t converter = iconv_open("CP936", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return name;
  std::string out(name.size() * 2 + 8, '\0');
  char* in = const_cast<char*>(name.data());
  std::size_t in_left = name.size();
  char* o = out.data();
  std::size_t out_left = out.size();
  const bool converted = iconv(converter, &in, &in_left, &o, &out_left) != static_cast<std::size_t>(-1);
  iconv_close(converter);
  if (!converted) return name;
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace quillet::cli

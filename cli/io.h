// What quillet-tools needs of the system, one file pair per platform: whole files and the
// standard streams as bytes, files to write, what makes two names one file, and messages for
// the terminal. Rewriting files in place is the editor's safe replacement (text/safe_replace.h).
// Texts inside the program are code page 936 (GBK) bytes; messages are turned into the
// terminal's encoding on the way out. Every failure to read or write is reported, never taken
// for the end of the input.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::cli {

// A command-line argument as the program uses it: its text in GBK (when GBK can hold it), the
// characters GBK cannot hold (as "U+D55C、…", empty when none), and the same argument as a file
// name, which is never converted.
struct Argument {
  std::string text;
  std::string lost;
  std::filesystem::path path;
};

// A whole input's bytes: a file mapped into memory where the system allows it (no copy), or
// read into a string.
class Input {
 public:
  Input() = default;
  explicit Input(std::string bytes) : owned_(std::move(bytes)), view_(owned_) {}
  Input(const void* mapped, std::size_t size);
  ~Input();
  Input(Input&& other) noexcept;
  Input& operator=(Input&&) = delete;
  Input(const Input&) = delete;
  std::string_view bytes() const { return view_; }

 private:
  std::string owned_;
  std::string_view view_;
  const void* mapped_ = nullptr;
};

// Why an input was not read: larger than the most asked for (size, when known), or the
// system's reason.
struct ReadFailure {
  bool too_large = false;
  std::uint64_t size = 0;
  std::string reason;
};

// The whole file (standard input for none) when it holds no more than largest bytes; none, and
// why, when it holds more or reading it failed.
std::optional<Input> read_whole(const std::filesystem::path* file, std::uint64_t largest, ReadFailure& failure);
// The file (standard input for none) in blocks: each_block gets the bytes read so far and not
// yet taken (at most block_size plus what it left last time), and whether the input has ended;
// it answers how many bytes from the front it took (the rest comes again in front of the next
// block), or none to stop. False when reading failed (reason in error) or each_block stopped.
using BlockConsumer = std::function<std::optional<std::size_t>(std::string_view bytes, bool at_end)>;
bool read_in_blocks(const std::filesystem::path* file, std::size_t block_size, const BlockConsumer& each_block,
                    std::string& error);
// Writes bytes to standard output; false, with the reason, when that failed (a closed pipe, a
// full disk).
bool write_standard_output(std::string_view bytes, std::string& error);

// A file written from its start (made when missing, emptied when not), as a shell's redirection
// writes it.
class OutputFile {
 public:
  OutputFile();
  ~OutputFile();
  bool open(const std::filesystem::path& file, std::string& error);
  bool write(std::string_view bytes, std::string& error);
  bool close(std::string& error);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// What a file is, whatever name leads to it (device and inode, or volume and file index); none
// when it cannot be looked at.
struct FileIdentity {
  std::uint64_t volume = 0, index = 0;
  bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> identity_of(const std::filesystem::path& file);
// Whether a file is one that can be replaced by another (a regular file, not a device or a pipe).
bool is_ordinary_file(const std::filesystem::path& file);

// A GBK message on standard error (or output), in the terminal's encoding.
void write_message(std::string_view gbk, bool to_output = false);
bool standard_error_is_terminal();

// The files a file argument names: on Windows, where the command line leaves wildcards to the
// program (and no file name can hold * or ?), a pattern's matches in name order, or the pattern
// itself when nothing matches; elsewhere the shell has expanded them already.
std::vector<std::filesystem::path> files_named(const std::filesystem::path& argument);

// The file name as the user typed it, in GBK, for messages.
std::string shown_name(const std::filesystem::path& file);

}  // namespace quillet::cli

// quillet-tools: the editor's text tools from the command line. The same functions of the tools
// module give the same bytes as the menus; files are bytes in and bytes out, never converted.
//
//   quillet-tools TOOL [options] [FILE...]
//
// Each FILE (standard input when there is none) is read whole and the tool's result written to
// standard output, or to the -o file, or, with -i, back over each FILE through the safe replace.
// Option texts arrive in the terminal's encoding and are GBK inside (Argument::text); one that
// GBK cannot hold is a usage error. Exit status: 0 done; 1 find found nothing; 2 a usage error,
// with one line naming the bad option; 3 a file could not be read or written (the other files
// are still processed, and a last line names the ones that failed).
#pragma once

#include <string>
#include <vector>

#include "cli/io.h"

namespace quillet::cli {

inline constexpr int kDone = 0, kFoundNothing = 1, kUsageError = 2, kFileError = 3;

int run_quillet_tools(const std::vector<Argument>& arguments);

// What a command line asks for, read without running anything: to run a tool, to show help or
// the version (line holds the text), or a usage error (line holds the one line to print).
struct CommandLineVerdict {
  enum class Kind { Run, Help, UsageError };
  Kind kind = Kind::Run;
  std::string line;
};
CommandLineVerdict judge_command_line(const std::vector<Argument>& arguments);

}  // namespace quillet::cli

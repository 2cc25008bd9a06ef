// Fuzzes the reading of quillet-tools command lines: any words, the program's own (tools,
// options, numbers at and past the integers' ends) most often. Whatever the words, reading
// never fails, and its answer has the promised shape: a usage error is one line naming what is
// wrong, help ends with a line break, and the same words always get the same answer.
#include <cstdint>
#include <string>
#include <vector>

#include "cli/quillet_tools.h"
#include "text/fuzz_input.h"

using namespace quillet;
using text::fuzzing::check;

namespace {

const char* const kWords[] = {
    "upper", "lower", "full-width", "half-width", "replace", "around-line-breaks", "around-tabs", "collapse-breaks",
    "merge", "split", "indent", "delete-spaces", "range", "insert", "regex-replace", "regex-extract", "numbered",
    "accounts", "find", "--find", "--with", "--match-case", "--separator", "--spaces", "--lead", "--trail", "--both",
    "--all", "--start", "--length", "--keep", "--delete", "--before", "--after", "--left", "--right", "--start-number",
    "--pattern", "--count", "--account-length", "--password-content", "--find-before", "--no-break-in-find", "-i", "-o",
    "--", "--help", "-h", "--version", "-", "-x", "--nope", "2147483647", "2147483648", "-2147483648",
    "-99999999999", "+7", "0", "007", "1e3", "", "a.txt", "*.txt",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  text::fuzzing::Input input(data, size);
  std::vector<cli::Argument> arguments;
  for (int i = 0; i < 12; ++i) {
    const std::string piece = input.next_text();
    if (piece.empty() && i > 0) break;
    // A piece that starts with a byte below 0x40 picks one of the program's words; others are
    // words of their own, sometimes with characters GBK cannot hold.
    const std::string word = !piece.empty() && static_cast<unsigned char>(piece[0]) < 0x40
                                 ? std::string(kWords[static_cast<unsigned char>(piece[0]) % std::size(kWords)])
                                 : piece;
    const std::string lost = input.flag(i % 8) && !piece.empty() && piece[0] == 'L' ? "U+D55C" : "";
    arguments.push_back({word, lost, word});
  }
  const cli::CommandLineVerdict verdict = cli::judge_command_line(arguments);
  const cli::CommandLineVerdict again = cli::judge_command_line(arguments);
  check(verdict.kind == again.kind && verdict.line == again.line);
  switch (verdict.kind) {
    case cli::CommandLineVerdict::Kind::UsageError:
      check(!verdict.line.empty() && verdict.line.find('\n') == std::string::npos);
      break;
    case cli::CommandLineVerdict::Kind::Help:
      check(!verdict.line.empty() && verdict.line.back() == '\n');
      break;
    case cli::CommandLineVerdict::Kind::Run:
      check(!arguments.empty() && verdict.line.empty());
      break;
  }
  return 0;
}

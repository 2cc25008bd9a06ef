// quillet-tools as a user runs it: the program started as a process over files and pipes, its
// output compared with what the editor's tool functions give for the same parameters.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tools/conversion.h"
#include "tools/generators.h"
#include "tools/paragraphs.h"
#include "tools/regex_tools.h"
#include "tools/replace.h"

namespace {

namespace fs = std::filesystem;
using namespace quillet;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string read_all(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void write_all(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

class QuilletTools : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("quillet-tools-test-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) fs::permissions(entry.path(), fs::perms::owner_all);
    fs::remove_all(folder_);
  }
  // Runs the program with the arguments (UTF-8, as a terminal gives them) and standard input.
  Outcome run(const std::vector<std::string>& arguments, const std::string& input = "") {
    const fs::path in = folder_ / "stdin", out = folder_ / "stdout", err = folder_ / "stderr";
    write_all(in, input);
    const pid_t child = fork();
    if (child == 0) {
      dup2(open(in.c_str(), O_RDONLY), 0);
      dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
      dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
      std::vector<char*> argv{const_cast<char*>(QUILLET_TOOLS)};
      for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      execv(QUILLET_TOOLS, argv.data());
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_all(out), read_all(err)};
  }
  std::string path(const char* name) const { return (folder_ / name).string(); }
  fs::path folder_;
};

// A small GBK document: Chinese, full- and half-width text, spaces of both widths, Tabs, line
// breaks, a stray byte.
const std::string kDocument =
    "\xBC\xD7 abc\tDEF\r\n  \xD2\xD2\xA1\xA1xyz  \r\n\r\n\r\n\xA3\xC1\xA3\xE2 1,2,3\t\xB1\xFB\r\nlast\x80";

TEST_F(QuilletTools, EveryToolGivesTheEditorsBytes) {
  write_all(path("doc.txt"), kDocument);
  const std::string doc = path("doc.txt");
  const std::string jia = "\xBC\xD7", yi = "\xD2\xD2";  // 甲 乙 in GBK
  struct Case {
    std::vector<std::string> arguments;
    std::string expected;
  };
  tools::AroundSeparator line_breaks{tools::kLineBreak, "xyz  ", true, "", "[", false, "]", false};
  tools::AroundSeparator tabs{tools::kTab, "", true, "DEF", "<", true, ">", true};
  const Case cases[] = {
      {{"upper", doc}, tools::upper_case(kDocument)},
      {{"lower", doc}, tools::lower_case(kDocument)},
      {{"full-width", doc}, *tools::full_width(kDocument)},
      {{"half-width", doc}, tools::half_width(kDocument)},
      {{"replace", "--find", "\xE7\x94\xB2", "--with", "\xE4\xB9\x99", doc}, *tools::replace_all(kDocument, jia, yi, false)},
      {{"replace", "--find", "abc", "--match-case", doc}, *tools::replace_all(kDocument, "abc", "", true)},
      {{"around-line-breaks", "--find-before", "xyz  ", "--with-before", "[", "--no-break-in-replacement", "--with-after",
        "]", doc},
       *tools::replace_around_separator(kDocument, line_breaks)},
      {{"around-tabs", "--find-after", "DEF", "--with-before", "<", "--with-after", ">", "--match-case", doc},
       *tools::replace_around_separator(kDocument, tabs)},
      {{"collapse-breaks", doc}, tools::collapse_line_breaks(kDocument)},
      {{"merge", doc}, tools::merge_paragraphs(kDocument)},
      {{"split", "--separator", ",", doc}, *tools::split_at(kDocument, ",")},
      {{"indent", "--spaces", "4", doc}, *tools::indent_paragraphs(kDocument, 4)},
      {{"delete-spaces", "--lead", doc}, tools::delete_spaces(kDocument, tools::SpacesToDelete::Leading)},
      {{"delete-spaces", "--trail", doc}, tools::delete_spaces(kDocument, tools::SpacesToDelete::Trailing)},
      {{"delete-spaces", "--both", doc}, tools::delete_spaces(kDocument, tools::SpacesToDelete::BothEnds)},
      {{"delete-spaces", "--all", doc}, tools::delete_spaces(kDocument, tools::SpacesToDelete::All)},
      {{"range", "--start", "3", "--length", "5", "--keep", doc}, tools::cut_range(kDocument, 3, 5, tools::RangeChoice::Keep)},
      {{"range", "--start", "3", "--length", "5", "--delete", doc},
       tools::cut_range(kDocument, 3, 5, tools::RangeChoice::Delete)},
      {{"insert", "--before", "--left", "(", "--right", ") ", "--start-number", "7", doc},
       *tools::insert_in_paragraphs(kDocument, tools::Placement::BeforeParagraphs, {"(", true, 7, ") "})},
      {{"insert", "--after", "--right", "!", doc},
       *tools::insert_in_paragraphs(kDocument, tools::Placement::AfterParagraphs, {"", false, 0, "!"})},
      {{"regex-replace", "--pattern", "[a-z]+", "--with", "_", doc}, *tools::regex_replace(kDocument, "[a-z]+", "_", false)},
      {{"regex-extract", "--pattern", "[0-9]", doc}, *tools::regex_extract(kDocument, "[0-9]", false)},
      {{"numbered", "--count", "3", "--left", "No.", "--start-number", "9"}, *tools::numbered_lines({"No.", true, 9, ""}, 3)},
      {{"find", "--find", "\xE7\x94\xB2", doc}, "1\n"},
      {{"find", "--find", "x", doc}, "19\n"},
      {{"find", "--find", "d", doc}, "8\n"},  // ignoring case: D of DEF
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(c.arguments);
    EXPECT_EQ(outcome.status, 0) << c.arguments[0] << ": " << outcome.err;
    EXPECT_EQ(outcome.out, c.expected) << c.arguments[0];
    EXPECT_EQ(outcome.err, "") << c.arguments[0];
  }
  // Accounts are random: their shape.
  const Outcome accounts = run({"accounts", "--count", "5", "--account-length", "8", "--password-content", "pw"});
  EXPECT_EQ(accounts.status, 0);
  EXPECT_THAT(accounts.out, testing::MatchesRegex("([A-Za-z0-9]{8}(\xA1\xAA){4}pw\r\n){5}"));
}

TEST_F(QuilletTools, StandardInputToStandardOutputKeepsBytesThatAreNoGbk) {
  const std::string input("ab\x80\xFF" "cd\xB0\r\nef\xFE", 12);
  const Outcome outcome = run({"upper"}, input);
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, tools::upper_case(input));
  EXPECT_EQ(outcome.out.substr(0, 4), std::string("AB\x80\xFF", 4));
  // And -o writes the file instead.
  EXPECT_EQ(run({"lower", "-o", path("out.txt")}, "ABC").status, 0);
  EXPECT_EQ(read_all(path("out.txt")), "abc");
}

// The conversions go through in blocks of a megabyte: across block ends (a run of high bytes
// of odd length over the first, a block of high bytes only over the second) they give the same
// bytes as over the whole input, from a file and from a pipe alike.
TEST_F(QuilletTools, ConversionsInBlocksGiveTheBytesOfTheWholeInput) {
  std::mt19937 rng(18);
  const unsigned char alphabet[] = {'a', 'Z', ' ', '!', '}', '\r', '\n', 0x41, 0xA3, 0xC1, 0xA1, 0xB0, 0x80, 0xFF};
  std::string input(2'600'000, '\0');
  for (char& c : input) c = static_cast<char>(alphabet[rng() % sizeof alphabet]);
  // Each run starts after a space and is followed by a letter, which its odd length makes the
  // second byte of a pair.
  const auto run_of = [&input](std::size_t from, std::size_t to, char high, char after) {
    input[from - 1] = ' ';
    std::fill(input.begin() + from, input.begin() + to, high);
    input[to] = after;
  };
  run_of((1 << 20) - 1001, (1 << 20) + 2000, '\xB0', 'a');                // 3001 high bytes over the first end
  run_of((2 << 20) - 11, (2 << 20) + (1 << 20) / 4, '\xA3', 'z');          // a whole block of them
  input.back() = '\xB0';  // a lone lead at the very end
  write_all(path("big.txt"), input);
  const struct {
    const char* tool;
    std::function<std::string(std::string_view)> whole;
  } conversions[] = {{"upper", tools::upper_case},
                     {"lower", tools::lower_case},
                     {"full-width", [](std::string_view d) { return *tools::full_width(d); }},
                     {"half-width", tools::half_width}};
  // Megabytes do not print: where they first differ does.
  const auto first_difference = [](const std::string& a, const std::string& b) {
    return std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
  };
  for (const auto& conversion : conversions) {
    const std::string expected = conversion.whole(input);
    const std::string from_file = run({conversion.tool, path("big.txt")}).out;
    const std::string from_pipe = run({conversion.tool}, input).out;
    EXPECT_TRUE(from_file == expected) << conversion.tool << " differs at " << first_difference(from_file, expected);
    EXPECT_TRUE(from_pipe == expected) << conversion.tool << " differs at " << first_difference(from_pipe, expected);
  }
}

TEST_F(QuilletTools, InPlaceRewritesEachFileAndLeavesAReadOnlyOneIntact) {
  write_all(path("a.txt"), "\xBC\xD7 one");
  write_all(path("b.txt"), "\xBC\xD7 two");
  write_all(path("c.txt"), "\xBC\xD7 three");
  fs::permissions(path("b.txt"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const Outcome outcome = run({"replace", "--find", "\xE7\x94\xB2", "--with", "\xE4\xB9\x99", "-i", path("a.txt"),
                               path("b.txt"), path("c.txt")});
  EXPECT_EQ(outcome.status, 3);
  EXPECT_EQ(read_all(path("a.txt")), "\xD2\xD2 one");
  EXPECT_EQ(read_all(path("b.txt")), "\xBC\xD7 two");
  EXPECT_EQ(read_all(path("c.txt")), "\xD2\xD2 three");
  EXPECT_THAT(outcome.err, testing::HasSubstr("cannot rewrite " + path("b.txt") + ": the file is read-only"));
  EXPECT_THAT(outcome.err, testing::HasSubstr("failed: " + path("b.txt")));
  EXPECT_EQ(outcome.out, "");
  // No temporary file is left beside them.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(folder_)) files += entry.path().filename().string().starts_with(".qlt");
  EXPECT_EQ(files, 0);
  // A missing file is reported, and the others are still done.
  write_all(path("d.txt"), "x");
  const Outcome missing = run({"upper", "-i", path("missing.txt"), path("d.txt")});
  EXPECT_EQ(missing.status, 3);
  EXPECT_EQ(read_all(path("d.txt")), "X");
  EXPECT_THAT(missing.err, testing::HasSubstr("cannot read " + path("missing.txt")));
}

TEST_F(QuilletTools, BadOptionsAreUsageErrorsNamingTheOption) {
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } cases[] = {
      {{}, "no tool given"},
      {{"uppr"}, "unknown tool 'uppr'"},
      {{"upper", "--find", "x"}, "unknown option '--find' for upper"},
      {{"replace", "--fnd", "x"}, "unknown option '--fnd' for replace"},
      {{"replace"}, "missing --find for replace"},
      {{"replace", "--find"}, "option --find needs a value"},
      {{"indent", "--spaces", "four"}, "option --spaces needs a whole number, not 'four'"},
      {{"delete-spaces", "--lead", "--all"}, "only one of --lead, --trail, --both, --all"},
      {{"range", "--start", "1", "--length", "2"}, "missing --keep, --delete"},
      {{"upper", "-i"}, "option -i needs files"},
      {{"upper", "-o"}, "option -o needs a file name"},
      {{"numbered", "--count", "2", "file.txt"}, "numbered reads no files"},
      {{"replace", "--find", "\xED\x95\x9C"}, "option --find: GBK cannot hold the character(s) U+D55C"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = run(c.arguments, "input");
    EXPECT_EQ(outcome.status, 2) << c.message;
    EXPECT_THAT(outcome.err, testing::HasSubstr(c.message));
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;  // one line
    EXPECT_EQ(outcome.out, "");
  }
}

TEST_F(QuilletTools, FindHelpVersionAndTheEndOfOptions) {
  EXPECT_EQ(run({"find", "--find", "zzz"}, "abc").status, 1);
  const Outcome found = run({"find", "--find", "b", "--match-case"}, "abcb");
  EXPECT_EQ(found.status, 0);
  EXPECT_EQ(found.out, "2\n4\n");
  write_all(path("-dash.txt"), "q");
  EXPECT_EQ(run({"upper", "--", path("-dash.txt")}).out, "Q");
  write_all(path("two.txt"), "b");
  EXPECT_EQ(run({"find", "--find", "b", path("-dash.txt"), path("two.txt")}).out, path("two.txt") + ":1\n");

  const Outcome help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out, testing::HasSubstr("regex-extract"));
  EXPECT_THAT(help.out, testing::HasSubstr("\xE6\xAD\xA3\xE5\x88\x99\xE6\x8F\x90\xE5\x8F\x96"));  // 正则提取, in the terminal's UTF-8
  const Outcome tool_help = run({"replace", "--help"});
  EXPECT_THAT(tool_help.out, testing::HasSubstr("--match-case"));
  EXPECT_THAT(tool_help.out, testing::HasSubstr("\xE8\x8B\xB1\xE6\x96\x87\xE5\xAD\x97\xE6\xAF\x8D"));  // 英文字母
  EXPECT_THAT(run({"--version"}).out, testing::StartsWith("quillet-tools 0."));
}

// An input over 64 MB gets a progress line, but only on a terminal (here a pseudo-terminal
// through script(1)); piped, standard error stays quiet.
TEST_F(QuilletTools, LargeInputsShowProgressOnATerminalOnly) {
  if (std::system("script -qec true /dev/null > /dev/null 2>&1") != 0) GTEST_SKIP() << "no pseudo-terminal here";
  write_all(path("large.txt"), std::string((std::size_t{64} << 20) + 1, 'a'));
  const std::string command = std::string(QUILLET_TOOLS) + " upper " + path("large.txt") + " > " + path("large.out");
  const std::string typescript = path("typescript.txt");
  ASSERT_EQ(std::system(("script -qec '" + command + "' /dev/null > " + typescript + " 2>&1").c_str()), 0);
  EXPECT_THAT(read_all(typescript), testing::HasSubstr("quillet-tools: upper " + path("large.txt") + "..."));
  EXPECT_EQ(fs::file_size(path("large.out")), (std::size_t{64} << 20) + 1);
  const Outcome piped = run({"upper", path("large.txt")});
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.err, "");
}

}  // namespace

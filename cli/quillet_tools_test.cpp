// quillet-tools as a user runs it: the program started as a process over files and pipes, its
// output compared with what the editor's tool functions give for the same parameters.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
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
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tools/conversion.h"
#include "tools/find.h"
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
  // Runs the program with the arguments (UTF-8, as a terminal gives them) and standard input;
  // standard output goes to the file named, when one is, and the program runs as the user
  // given (when the test runs as root).
  Outcome run(const std::vector<std::string>& arguments, const std::string& input = "", const char* output_to = nullptr,
              std::optional<uid_t> as_user = {}) {
    const fs::path in = folder_ / "stdin", out = output_to != nullptr ? fs::path(output_to) : folder_ / "stdout",
                   err = folder_ / "stderr";
    write_all(in, input);
    if (output_to == nullptr) fs::remove(out);
    const pid_t child = fork();
    if (child == 0) {
      dup2(open(in.c_str(), O_RDONLY), 0);
      dup2(open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666), 1);
      dup2(open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666), 2);
      if (as_user && (setgid(*as_user) != 0 || setuid(*as_user) != 0)) _exit(126);
      std::vector<char*> argv{const_cast<char*>(QUILLET_TOOLS)};
      for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      execv(QUILLET_TOOLS, argv.data());
      _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output_to == nullptr ? read_all(out) : "", read_all(err)};
  }
  std::string path(const char* name) const { return (folder_ / name).string(); }
  fs::path folder_;
};

// A small GBK document: Chinese, full- and half-width text, spaces of both widths, Tabs, line
// breaks, a stray byte.
const std::string kDocument =
    "\xBC\xD7 abc\tDEF\r\n  \xD2\xD2\xA1\xA1xyz  \r\n\r\n\r\n\xA3\xC1\xA3\xE2 1,2,3\t\xB1\xFB\r\nlast\x80";

struct Case {
  std::vector<std::string> arguments;
  std::string expected;
};

// Every tool that reads a file, on the document in the file named, with what the editor's
// function gives for the same parameters.
std::vector<Case> cases_over(const std::string& doc, const std::string& document) {
  const std::string jia = "\xBC\xD7", yi = "\xD2\xD2";  // 甲 乙 in GBK
  const tools::AroundSeparator line_breaks{tools::kLineBreak, "xyz  ", true, "", "[", false, "]", false};
  const tools::AroundSeparator tabs{tools::kTab, "", true, "DEF", "<", true, ">", true};
  std::string positions;
  for (tools::ByteRange from{0, 0};
       const auto at = tools::find_next(document, "d", from, tools::SearchDirection::Forward, false);) {
    positions += std::to_string(*at + 1) + "\n";
    from = {*at, 1};
  }
  return {
      {{"upper", doc}, tools::upper_case(document)},
      {{"lower", doc}, tools::lower_case(document)},
      {{"full-width", doc}, *tools::full_width(document)},
      {{"half-width", doc}, tools::half_width(document)},
      {{"replace", "--find", "\xE7\x94\xB2", "--with", "\xE4\xB9\x99", doc}, *tools::replace_all(document, jia, yi, false)},
      {{"replace", "--find", "abc", "--match-case", doc}, *tools::replace_all(document, "abc", "", true)},
      {{"around-line-breaks", "--find-before", "xyz  ", "--with-before", "[", "--no-break-in-replacement", "--with-after",
        "]", doc},
       *tools::replace_around_separator(document, line_breaks)},
      {{"around-tabs", "--find-after", "DEF", "--with-before", "<", "--with-after", ">", "--match-case", doc},
       *tools::replace_around_separator(document, tabs)},
      {{"collapse-breaks", doc}, tools::collapse_line_breaks(document)},
      {{"merge", doc}, tools::merge_paragraphs(document)},
      {{"split", "--separator", ",", doc}, *tools::split_at(document, ",")},
      {{"indent", "--spaces", "4", doc}, *tools::indent_paragraphs(document, 4)},
      {{"delete-spaces", "--lead", doc}, tools::delete_spaces(document, tools::SpacesToDelete::Leading)},
      {{"delete-spaces", "--trail", doc}, tools::delete_spaces(document, tools::SpacesToDelete::Trailing)},
      {{"delete-spaces", "--both", doc}, tools::delete_spaces(document, tools::SpacesToDelete::BothEnds)},
      {{"delete-spaces", "--all", doc}, tools::delete_spaces(document, tools::SpacesToDelete::All)},
      {{"range", "--start", "3", "--length", "5", "--keep", doc}, tools::cut_range(document, 3, 5, tools::RangeChoice::Keep)},
      {{"range", "--start", "3", "--length", "5", "--delete", doc},
       tools::cut_range(document, 3, 5, tools::RangeChoice::Delete)},
      {{"insert", "--before", "--left", "(", "--right", ") ", "--start-number", "7", doc},
       *tools::insert_in_paragraphs(document, tools::Placement::BeforeParagraphs, {"(", true, 7, ") "})},
      {{"insert", "--after", "--right", "!", doc},
       *tools::insert_in_paragraphs(document, tools::Placement::AfterParagraphs, {"", false, 0, "!"})},
      {{"regex-replace", "--pattern", "[a-z]+", "--with", "_", doc}, *tools::regex_replace(document, "[a-z]+", "_", false)},
      {{"regex-extract", "--pattern", "[0-9]", doc}, *tools::regex_extract(document, "[0-9]", false)},
      {{"find", "--find", "d", doc}, positions},
  };
}

TEST_F(QuilletTools, EveryToolGivesTheEditorsBytes) {
  write_all(path("doc.txt"), kDocument);
  const std::string doc = path("doc.txt");
  std::vector<Case> cases = cases_over(doc, kDocument);
  cases.push_back({{"numbered", "--count", "3", "--left", "No.", "--start-number", "9"},
                   *tools::numbered_lines({"No.", true, 9, ""}, 3)});
  cases.push_back({{"find", "--find", "\xE7\x94\xB2", doc}, "1\n"});
  cases.push_back({{"find", "--find", "x", doc}, "19\n"});
  cases.push_back({{"find", "--find", "d", doc}, "8\n"});  // ignoring case: D of DEF
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

// A NUL is a byte like any other: every tool keeps what follows it, to standard output and in
// place. (The width tools ended their result at the first NUL, and -i wrote that over the
// file.)
TEST_F(QuilletTools, EveryToolKeepsWhatFollowsANul) {
  const std::string document = std::string("abc\0def\r\n", 9) + kDocument + std::string("\0tail d\0", 8);
  const std::string doc = path("zero.txt");
  for (const Case& c : cases_over(doc, document)) {
    write_all(doc, document);
    const Outcome to_output = run(c.arguments);
    EXPECT_EQ(to_output.status, 0) << c.arguments[0] << ": " << to_output.err;
    EXPECT_TRUE(to_output.out == c.expected) << c.arguments[0] << ": " << testing::PrintToString(to_output.out);
    if (c.arguments[0] == "find") continue;
    std::vector<std::string> in_place = c.arguments;
    in_place.insert(in_place.end() - 1, "-i");
    const Outcome rewritten = run(in_place);
    EXPECT_EQ(rewritten.status, 0) << c.arguments[0] << ": " << rewritten.err;
    EXPECT_TRUE(read_all(doc) == c.expected) << c.arguments[0] << " -i: " << testing::PrintToString(read_all(doc));
  }
  // From standard input, through the conversions' blocks.
  EXPECT_EQ(run({"half-width"}, document).out, tools::half_width(document));
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

// -i rewrites the file a name finally stands for: through a symbolic link the target changes
// and the link stays a link; the mode, owner and group stay; a file with other hard links is
// refused rather than parted from them.
TEST_F(QuilletTools, InPlaceKeepsLinksModeOwnerAndGroup) {
  write_all(path("target.txt"), "through a link");
  fs::create_directory(folder_ / "elsewhere");
  fs::create_symlink(folder_ / "target.txt", folder_ / "elsewhere" / "link.txt");
  const std::string through = (folder_ / "elsewhere" / "link.txt").string();
  EXPECT_EQ(run({"upper", "-i", through}).status, 0);
  EXPECT_TRUE(fs::is_symlink(through));
  EXPECT_EQ(read_all(path("target.txt")), "THROUGH A LINK");
  EXPECT_EQ(run({"replace", "--find", "LINK", "--with", "name", "-i", through}).status, 0);  // a whole-input tool
  EXPECT_TRUE(fs::is_symlink(through));
  EXPECT_EQ(read_all(path("target.txt")), "THROUGH A name");
  int left = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder_)) left += entry.path().filename().string().starts_with(".qlt");
  EXPECT_EQ(left, 0);

  write_all(path("mode.txt"), "mode");
  ASSERT_EQ(chmod(path("mode.txt").c_str(), 0640), 0);
  const bool root = getuid() == 0;
  if (root) {
    ASSERT_EQ(chown(path("mode.txt").c_str(), 4321, 8765), 0);
  }
  EXPECT_EQ(run({"upper", "-i", path("mode.txt")}).status, 0);
  struct stat status {};
  ASSERT_EQ(stat(path("mode.txt").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(status.st_uid, 4321u);
    EXPECT_EQ(status.st_gid, 8765u);
  }
  EXPECT_EQ(read_all(path("mode.txt")), "MODE");

  write_all(path("linked.txt"), "linked");
  ASSERT_EQ(link(path("linked.txt").c_str(), path("other-name.txt").c_str()), 0);
  const Outcome linked = run({"upper", "-i", path("linked.txt")});
  EXPECT_EQ(linked.status, 3);
  EXPECT_THAT(linked.err, testing::HasSubstr("cannot rewrite " + path("linked.txt") + ": it has 2 hard links"));
  EXPECT_EQ(read_all(path("linked.txt")), "linked");
  EXPECT_EQ(read_all(path("other-name.txt")), "linked");
  struct stat after {};
  ASSERT_EQ(stat(path("linked.txt").c_str(), &after), 0);
  EXPECT_EQ(after.st_nlink, 2u);
}

// What the user may not write is refused as the system would refuse it, even where the file's
// permission bits or its folder would have let a rename replace it; and a folder where no file
// can be made is named as the reason. (Run as an ordinary user, which needs the test to run as
// root.)
TEST_F(QuilletTools, InPlaceRefusesWhatTheUserMayNotWrite) {
  if (getuid() != 0) GTEST_SKIP() << "needs root, to run the program as another user";
  constexpr uid_t kNobody = 65534;
  fs::permissions(folder_, fs::perms::all);
  fs::create_directory(folder_ / "open");
  fs::permissions(folder_ / "open", fs::perms::all);  // anyone may make and rename files here
  const fs::path theirs = folder_ / "open" / "theirs.txt";
  write_all(theirs, "not yours");
  fs::permissions(theirs, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
  const Outcome refused = run({"upper", "-i", theirs.string()}, "", nullptr, kNobody);
  EXPECT_EQ(refused.status, 3);
  EXPECT_THAT(refused.err, testing::HasSubstr("cannot rewrite " + theirs.string() + ": Permission denied"));
  EXPECT_EQ(read_all(theirs), "not yours");

  fs::create_directory(folder_ / "closed");
  const fs::path writable = folder_ / "closed" / "writable.txt";
  write_all(writable, "in a closed folder");
  fs::permissions(writable, fs::perms::all);
  fs::permissions(folder_ / "closed", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                          fs::perms::others_read | fs::perms::others_exec);
  const Outcome closed = run({"replace", "--find", "in", "--with", "IN", "-i", writable.string()}, "", nullptr, kNobody);
  EXPECT_EQ(closed.status, 3);
  EXPECT_THAT(closed.err, testing::HasSubstr("no temporary file can be made in its folder (Permission denied)"));
  EXPECT_EQ(read_all(writable), "in a closed folder");
  EXPECT_EQ(std::count(closed.err.begin(), closed.err.end(), '\n'), 2);  // the reason, then the summary
}

// A result past the largest document is refused before it is made, an input past it is not
// taken in whole, and a file is never touched by either.
TEST_F(QuilletTools, SizesPastTheLimitAreRefusedWithOneLine) {
  std::string lines;
  while (lines.size() < 70'000) lines += "\xD2\xBB\xB6\xFE abc def\r\n";
  write_all(path("lines.txt"), lines);
  const Outcome indented = run({"indent", "--spaces", "100000000", "-i", path("lines.txt")});
  EXPECT_EQ(indented.status, 3);
  EXPECT_THAT(indented.err, testing::HasSubstr("the result would be larger than 256 MB"));
  EXPECT_EQ(read_all(path("lines.txt")), lines);
  EXPECT_EQ(run({"replace", "--find", "a", "--with", std::string(100'000, 'x'), path("lines.txt")}).status, 3);

  // A sparse file one byte past the limit: refused by its size, unread.
  const fs::path huge = folder_ / "huge.txt";
  { std::ofstream(huge, std::ios::binary); }
  fs::resize_file(huge, (std::uint64_t{1} << 28) + 1);
  const Outcome whole = run({"merge", huge.string()});
  EXPECT_EQ(whole.status, 3);
  EXPECT_THAT(whole.err, testing::HasSubstr(huge.string() + " holds 268435457 bytes, more than the 268435456 (256 MB)"));
  EXPECT_EQ(whole.out, "");
}

// Past 4 GiB, find goes on finding, at 64-bit positions, block by block (a sparse file: the
// disk holds almost nothing of it).
TEST_F(QuilletTools, FindTakesInputsOfAnySize) {
  const fs::path big = folder_ / "big.txt";
  constexpr std::uint64_t kPast4G = (std::uint64_t{1} << 32) + 5;
  {
    std::ofstream out(big, std::ios::binary);
    out << "needle";
    out.seekp(static_cast<std::streamoff>(kPast4G));
    out << "needle";
  }
  const Outcome found = run({"find", "--find", "needle", big.string()});
  EXPECT_EQ(found.status, 0) << found.err;
  EXPECT_EQ(found.out, "1\n" + std::to_string(kPast4G + 1) + "\n");
}

// A read that fails is a failure, never the end of the input: /proc/self/mem answers EIO at its
// start. (The whole-input tools and the blocks alike took it for an empty file.)
TEST_F(QuilletTools, AReadErrorIsAFailureAndNothingIsWritten) {
  for (const char* tool : {"upper", "merge"}) {
    const Outcome outcome = run({tool, "/proc/self/mem"});
    EXPECT_EQ(outcome.status, 3) << tool;
    EXPECT_THAT(outcome.err, testing::HasSubstr("cannot read /proc/self/mem: Input/output error; nothing written")) << tool;
    EXPECT_EQ(outcome.out, "") << tool;
  }
}

// An output that cannot be written is named as what failed, not the input.
TEST_F(QuilletTools, AnOutputThatFailsIsNamed) {
  write_all(path("in.txt"), "some text");
  for (const char* tool : {"upper", "merge"}) {
    const Outcome full = run({tool, path("in.txt")}, "", "/dev/full");
    EXPECT_EQ(full.status, 3) << tool;
    EXPECT_THAT(full.err, testing::HasSubstr("cannot write (standard output): No space left on device")) << tool;
    EXPECT_THAT(full.err, testing::HasSubstr("failed: (standard output)\n")) << tool;
    EXPECT_THAT(full.err, testing::Not(testing::HasSubstr("failed: " + path("in.txt")))) << tool;
  }
  const Outcome to_file = run({"upper", "-o", "/dev/full", path("in.txt")});
  EXPECT_EQ(to_file.status, 3);
  EXPECT_THAT(to_file.err, testing::HasSubstr("cannot write /dev/full: No space left on device"));
}

// -o naming one of the inputs, by any name: the inputs are read whole before the results take
// its place.
TEST_F(QuilletTools, AnOutputThatIsAnInputIsWrittenThroughATemporaryFile) {
  write_all(path("a.txt"), "first ");
  write_all(path("b.txt"), "second");
  fs::create_symlink(folder_ / "b.txt", folder_ / "b-link.txt");
  EXPECT_EQ(run({"upper", "-o", path("b-link.txt"), path("a.txt"), path("b.txt")}).status, 0);
  EXPECT_EQ(read_all(path("b.txt")), "FIRST SECOND");
  EXPECT_TRUE(fs::is_symlink(path("b-link.txt")));
  EXPECT_EQ(run({"replace", "--find", "FIRST", "--with", "1", "-o", path("b.txt"), path("b.txt")}).status, 0);
  EXPECT_EQ(read_all(path("b.txt")), "1 SECOND");
}

// Numbers past the integers read as the nearest ones, as the editor's boxes read them.
TEST_F(QuilletTools, ExtremeNumbersAreTheNearestIntegers) {
  write_all(path("r.txt"), "abcdef");
  for (const char* length : {"-2147483648", "-99999999999"}) {
    const Outcome outcome = run({"range", "--start", "1", "--length", length, "--delete", "-i", path("r.txt")});
    EXPECT_EQ(outcome.status, 0) << length << outcome.err;
    EXPECT_EQ(read_all(path("r.txt")), "abcdef") << length;
  }
  EXPECT_EQ(run({"range", "--start", "3", "--length", "99999999999", "--delete", path("r.txt")}).out, "ab");
  EXPECT_EQ(run({"range", "--start", "+3", "--length", "2", "--keep", path("r.txt")}).out, "cd");
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
      {{"indent", "--spaces", "-"}, "option --spaces needs a whole number, not '-'"},
      {{"indent", "--spaces", "1e3"}, "option --spaces needs a whole number, not '1e3'"},
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
  EXPECT_THAT(read_all(typescript), testing::HasSubstr("quillet-tools: upper " + path("large.txt") + " (64 MB)..."));
  EXPECT_EQ(fs::file_size(path("large.out")), (std::size_t{64} << 20) + 1);
  const Outcome piped = run({"upper", path("large.txt")});
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.err, "");
}

}  // namespace

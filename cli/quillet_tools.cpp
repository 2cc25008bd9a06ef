#include "cli/quillet_tools.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "text/safe_replace.h"
#include "tools/conversion.h"
#include "tools/find.h"
#include "tools/generators.h"
#include "tools/limits.h"
#include "tools/paragraphs.h"
#include "tools/regex_tools.h"
#include "tools/replace.h"

#ifndef QUILLET_VERSION
#define QUILLET_VERSION "0"
#endif

namespace quillet::cli {
namespace {

enum class Kind { Flag, Text, Number };

struct OptionSpec {
  const char* name;  // without the leading "--"
  Kind kind;
  const char* english;
  const char* chinese;
};

// The options a tool was given: texts (GBK) and numbers by name, and the flags.
struct Options {
  std::map<std::string, std::string> texts;
  std::map<std::string, std::int32_t> numbers;
  std::set<std::string> flags;
  bool has(const std::string& name) const { return texts.contains(name) || numbers.contains(name) || flags.contains(name); }
  std::string_view text(const std::string& name) const {
    const auto found = texts.find(name);
    return found != texts.end() ? std::string_view(found->second) : std::string_view();
  }
  std::int32_t number(const std::string& name, std::int32_t fallback = 0) const {
    const auto found = numbers.find(name);
    return found != numbers.end() ? found->second : fallback;
  }
};

// A usage error found in a tool's options: the one line to print.
struct UsageError {
  std::string message;
};

using Result = std::optional<std::string>;  // none: the tool refused (too large or too complex)

struct ToolSpec {
  const char* name;
  const char* english;
  const char* chinese;
  std::vector<OptionSpec> options;
  bool reads_input = true;
  // Checks the options that must go together; empty when they do.
  std::function<std::string(const Options&)> check;
  std::function<Result(std::string_view, const Options&)> run;
  // Each character's result depends on that character alone (the conversions): the input can
  // go through in blocks cut between characters, without holding it whole.
  bool by_character = false;
};

std::string one_of(const Options& options, std::initializer_list<const char*> names, const char* what) {
  int given = 0;
  for (const char* name : names) given += options.flags.contains(name) ? 1 : 0;
  if (given == 1) return "";
  std::string list;
  for (const char* name : names) list += std::string(list.empty() ? "" : ", ") + "--" + name;
  return std::string(given == 0 ? "missing " : "only one of ") + list + " (" + what + ")";
}

std::string required(const Options& options, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (!options.has(name)) return std::string("missing --") + name;
  }
  return "";
}

tools::RandomTextRule rule_of(const Options& options, const std::string& who) {
  tools::RandomTextRule rule;
  if (options.has(who + "-content")) {
    rule.choice = tools::LengthChoice::FixedContent;
    rule.content = options.text(who + "-content");
  } else if (options.has(who + "-length")) {
    rule.choice = tools::LengthChoice::Fixed;
    rule.length = options.number(who + "-length");
  } else {
    rule.choice = tools::LengthChoice::Range;
    rule.shortest = options.number(who + "-shortest", 6);
    rule.longest = options.number(who + "-longest", 12);
  }
  rule.letter_first = options.flags.contains(who + "-letter-first");
  return rule;
}

tools::LineParts parts_of(const Options& options) {
  return {options.text("left"), options.has("start-number"), options.number("start-number"), options.text("right")};
}

const OptionSpec kMatchCase{"match-case", Kind::Flag, "upper and lower case letters differ", "英文字母区分大小写"};

// The two context replacements: around each line break, or around each Tab.
const std::vector<OptionSpec> kAroundOptions = {
    {"find-before", Kind::Text, "text before the separator", "分隔符前的文本"},
    {"find-after", Kind::Text, "text after the separator", "分隔符后的文本"},
    {"no-break-in-find", Kind::Flag, "the separator is not part of the found text", "查找内容不含分隔符"},
    {"with-before", Kind::Text, "replacement before the separator", "替换为（分隔符前）"},
    {"with-after", Kind::Text, "replacement after the separator", "替换为（分隔符后）"},
    {"no-break-in-replacement", Kind::Flag, "no separator in the replacement", "替换内容不含分隔符"},
    kMatchCase};

// The two context replacements, by their separator.
Result around(std::string_view document, const Options& o, std::string_view separator) {
  const tools::AroundSeparator context{separator,       o.text("find-before"),
                                       !o.flags.contains("no-break-in-find"), o.text("find-after"),
                                       o.text("with-before"), !o.flags.contains("no-break-in-replacement"),
                                       o.text("with-after"),  o.flags.contains("match-case")};
  return tools::replace_around_separator(document, context);
}

const std::vector<ToolSpec>& tool_table() {
  static const std::vector<ToolSpec> tools = {
      {"upper", "letters to upper case", "到大写", {}, true, {},
       [](std::string_view d, const Options&) -> Result { return tools::upper_case(d); },
       true},
      {"lower", "letters to lower case", "到小写", {}, true, {},
       [](std::string_view d, const Options&) -> Result { return tools::lower_case(d); },
       true},
      {"full-width", "ASCII to full-width characters", "到全角", {}, true, {},
       [](std::string_view d, const Options&) -> Result { return tools::full_width(d); },
       true},
      {"half-width", "full-width characters to ASCII", "到半角", {}, true, {},
       [](std::string_view d, const Options&) -> Result { return tools::half_width(d); },
       true},
      {"replace", "replace every occurrence of a text", "基本替换",
       {{"find", Kind::Text, "the text to find", "查找的文本"},
        {"with", Kind::Text, "its replacement (empty: delete)", "替换为（空：删除）"},
        kMatchCase},
       true, [](const Options& o) { return required(o, {"find"}); },
       [](std::string_view d, const Options& o) -> Result {
         return tools::replace_all(d, o.text("find"), o.text("with"), o.flags.contains("match-case"));
       }},
      {"around-line-breaks", "replace the texts before and after each line break", "换行符前后文本", kAroundOptions,
       true, {}, [](std::string_view d, const Options& o) { return around(d, o, tools::kLineBreak); }},
      {"around-tabs", "replace the texts before and after each Tab", "Tab前后文本", kAroundOptions, true, {},
       [](std::string_view d, const Options& o) { return around(d, o, tools::kTab); }},
      {"collapse-breaks", "several line breaks in a row become one", "多换行符变单换行符", {}, true, {},
       [](std::string_view d, const Options&) -> Result { return tools::collapse_line_breaks(d); }},
      {"merge", "join all lines into one paragraph", "合为一段", {}, true, {},
       [](std::string_view d, const Options&) -> Result { return tools::merge_paragraphs(d); }},
      {"split", "a line break at every separator", "分割文本",
       {{"separator", Kind::Text, "the separator", "分隔符"}}, true,
       [](const Options& o) { return required(o, {"separator"}); },
       [](std::string_view d, const Options& o) -> Result { return tools::split_at(d, o.text("separator")); }},
      {"indent", "remove spaces, then indent every paragraph", "段前增减空格",
       {{"spaces", Kind::Number, "spaces before every paragraph", "段前空格数"}}, true,
       [](const Options& o) { return required(o, {"spaces"}); },
       [](std::string_view d, const Options& o) -> Result { return tools::indent_paragraphs(d, o.number("spaces")); }},
      {"delete-spaces", "delete spaces", "删除空格",
       {{"lead", Kind::Flag, "at the start of every paragraph", "段首"},
        {"trail", Kind::Flag, "at the end of every paragraph", "段尾"},
        {"both", Kind::Flag, "at both ends", "首尾"},
        {"all", Kind::Flag, "everywhere", "全部"}},
       true, [](const Options& o) { return one_of(o, {"lead", "trail", "both", "all"}, "which spaces"); },
       [](std::string_view d, const Options& o) -> Result {
         const tools::SpacesToDelete which = o.flags.contains("lead")    ? tools::SpacesToDelete::Leading
                                             : o.flags.contains("trail") ? tools::SpacesToDelete::Trailing
                                             : o.flags.contains("both")  ? tools::SpacesToDelete::BothEnds
                                                                         : tools::SpacesToDelete::All;
         return tools::delete_spaces(d, which);
       }},
      {"range", "keep or delete a range of bytes", "保留指定位置",
       {{"start", Kind::Number, "first byte, from 1", "起始字节（从1起）"},
        {"length", Kind::Number, "number of bytes", "字节数"},
        {"keep", Kind::Flag, "keep the range, delete the rest", "保留"},
        {"delete", Kind::Flag, "delete the range", "删除"}},
       true,
       [](const Options& o) {
         const std::string missing = required(o, {"start", "length"});
         return missing.empty() ? one_of(o, {"keep", "delete"}, "what to do with the range") : missing;
       },
       [](std::string_view d, const Options& o) -> Result {
         return tools::cut_range(d, o.number("start"), o.number("length"),
                                 o.flags.contains("keep") ? tools::RangeChoice::Keep : tools::RangeChoice::Delete);
       }},
      {"insert", "insert a text before or after every paragraph", "插入文本（段前/段尾）",
       {{"before", Kind::Flag, "before every paragraph", "段前"},
        {"after", Kind::Flag, "after every paragraph", "段尾"},
        {"left", Kind::Text, "text left of the number", "序号左边的文本"},
        {"right", Kind::Text, "text right of the number", "序号右边的文本"},
        {"start-number", Kind::Number, "number the paragraphs from this", "序号起始值（给出时编号）"}},
       true, [](const Options& o) { return one_of(o, {"before", "after"}, "where to insert"); },
       [](std::string_view d, const Options& o) -> Result {
         return tools::insert_in_paragraphs(
             d, o.flags.contains("before") ? tools::Placement::BeforeParagraphs : tools::Placement::AfterParagraphs,
             parts_of(o));
       }},
      {"regex-replace", "replace every match of a regular expression", "正则替换",
       {{"pattern", Kind::Text, "the regular expression", "正则表达式"},
        {"with", Kind::Text, "the replacement", "替换为"},
        kMatchCase},
       true, [](const Options& o) { return required(o, {"pattern"}); },
       [](std::string_view d, const Options& o) -> Result {
         return tools::regex_replace(d, o.text("pattern"), o.text("with"), o.flags.contains("match-case"));
       }},
      {"regex-extract", "every match of a regular expression, one per line", "正则提取",
       {{"pattern", Kind::Text, "the regular expression", "正则表达式"}, kMatchCase},
       true, [](const Options& o) { return required(o, {"pattern"}); },
       [](std::string_view d, const Options& o) -> Result {
         return tools::regex_extract(d, o.text("pattern"), o.flags.contains("match-case"));
       }},
      {"numbered", "numbered lines (reads no input)", "带序号文本（不读输入）",
       {{"count", Kind::Number, "how many lines", "行数"},
        {"left", Kind::Text, "text left of the number", "序号左边的文本"},
        {"right", Kind::Text, "text right of the number", "序号右边的文本"},
        {"start-number", Kind::Number, "first number (without it: no numbers)", "序号起始值（不给出则不编号）"}},
       false, [](const Options& o) { return required(o, {"count"}); },
       [](std::string_view, const Options& o) -> Result { return tools::numbered_lines(parts_of(o), o.number("count")); }},
      {"accounts", "random accounts with passwords (reads no input)", "账号密码（不读输入）",
       {{"count", Kind::Number, "how many", "数量"},
        {"account-length", Kind::Number, "fixed account length", "账号固定长度"},
        {"account-shortest", Kind::Number, "shortest account (default 6)", "账号最短长度（默认6）"},
        {"account-longest", Kind::Number, "longest account (default 12)", "账号最长长度（默认12）"},
        {"account-letter-first", Kind::Flag, "accounts begin with a letter", "账号以字母开头"},
        {"password-length", Kind::Number, "fixed password length", "密码固定长度"},
        {"password-shortest", Kind::Number, "shortest password (default 6)", "密码最短长度（默认6）"},
        {"password-longest", Kind::Number, "longest password (default 12)", "密码最长长度（默认12）"},
        {"password-letter-first", Kind::Flag, "passwords begin with a letter", "密码以字母开头"},
        {"password-content", Kind::Text, "every password this text", "固定密码内容"}},
       false, [](const Options& o) { return required(o, {"count"}); },
       [](std::string_view, const Options& o) -> Result {
         return tools::accounts_and_passwords(rule_of(o, "account"), rule_of(o, "password"), o.number("count"));
       }},
      {"find", "print the byte position (from 1) of every match", "查找（打印每处匹配的字节位置，从1起）",
       {{"find", Kind::Text, "the text to find", "查找的文本"}, kMatchCase}, true,
       [](const Options& o) { return required(o, {"find"}); }, nullptr},
  };
  return tools;
}


const ToolSpec* find_tool(std::string_view name) {
  for (const ToolSpec& tool : tool_table()) {
    if (name == tool.name) return &tool;
  }
  return nullptr;
}

std::string help_of(const ToolSpec& tool) {
  std::string help = std::string("Usage: quillet-tools ") + tool.name + " [options] " + (tool.reads_input ? "[FILE...]" : "") +
                     "\n" + tool.english + ".\n" + tool.chinese + "。\n\nOptions / 选项:\n";
  for (const OptionSpec& option : tool.options) {
    std::string left = std::string("  --") + option.name + (option.kind == Kind::Text ? " TEXT" : option.kind == Kind::Number ? " N" : "");
    if (left.size() < 30) left.resize(30, ' ');
    help += left + option.english + " / " + option.chinese + "\n";
  }
  help += "  -o FILE                     write the result to FILE / 结果写入文件\n"
          "  -i                          rewrite each FILE in place / 就地改写每个文件\n"
          "  --help                      this help / 本帮助\n";
  return help;
}

std::string program_help() {
  std::string help =
      "Usage: quillet-tools TOOL [options] [FILE...]\n"
      "The text tools of the Quillet editor over GBK (code page 936) files: bytes in, bytes out.\n"
      "Each FILE (or standard input) is read and the result written to standard output.\n"
      "用法：quillet-tools 工具 [选项] [文件...]\n"
      "Quillet 编辑器的文本工具，处理 GBK（代码页 936）文件：按字节读入、按字节写出。\n\n"
      "Tools / 工具:\n";
  for (const ToolSpec& tool : tool_table()) {
    std::string left = std::string("  ") + tool.name;
    if (left.size() < 22) left.resize(22, ' ');
    help += left + tool.english + " / " + tool.chinese + "\n";
  }
  help += "\nThe conversions and find take files of any size, block by block; the other tools take files of up to 256 MB.\n"
          "转换工具和查找可处理任意大小的文件；其他工具处理不超过 256 MB 的文件。\n"
          "-i rewrites the file a link names, keeps its permissions, and refuses a file with several hard links.\n"
          "-i 改写链接所指的文件并保留其权限；有多个硬链接的文件不改写。\n"
          "\nquillet-tools TOOL --help shows a tool's options. / quillet-tools 工具 --help 显示该工具的选项。\n"
          "Exit status / 退出状态: 0 done 完成, 1 find found nothing 未找到, 2 usage error 用法错误, "
          "3 a file could not be read or written 文件读写失败.\n";
  return help;
}

void usage_error(const std::string& line) {
  write_message("quillet-tools: " + line + "\n");
}

constexpr std::uint64_t kProgressAbove = std::uint64_t{64} << 20;
constexpr std::size_t kBlock = std::size_t{1} << 18;

// How much of a block that starts between characters is whole characters: up to and with its
// last byte below 0x80, which ends a character whether it stands alone or is the second byte of
// a pair (a run of bytes from 0x80 up pairs from its start, and every such run starts between
// characters); in a block of bytes from 0x80 up only, an even number of them.
std::size_t whole_characters(std::string_view block) {
  for (std::size_t end = block.size(); end > 0; --end) {
    if (static_cast<unsigned char>(block[end - 1]) < 0x80) return end;
  }
  return block.size() & ~std::size_t{1};
}

// A whole number as the editor's boxes read one: digits after an optional sign, and a number
// past the 32-bit integers as the nearest of them.
std::optional<std::int32_t> whole_number(std::string_view text) {
  std::size_t at = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) at = 1;
  if (at == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; at < text.size(); ++at) {
    if (text[at] < '0' || text[at] > '9') return std::nullopt;
    value = std::min<std::int64_t>(value * 10 + (text[at] - '0'), std::int64_t{1} << 32);
  }
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(negative ? -value : value, INT32_MIN, INT32_MAX));
}

// Where results go: standard output, the -o file, or a file rewritten in place. A failed write
// leaves its reason in error.
class Sink {
 public:
  virtual ~Sink() = default;
  virtual bool write(std::string_view bytes) = 0;
  virtual bool finish() = 0;
  std::string error;
};

class StandardOutput : public Sink {
 public:
  bool write(std::string_view bytes) override { return write_standard_output(bytes, error); }
  bool finish() override { return true; }
};

class WrittenFile : public Sink {
 public:
  bool open(const std::filesystem::path& file) { return file_.open(file, error); }
  bool write(std::string_view bytes) override { return file_.write(bytes, error); }
  bool finish() override { return file_.close(error); }

 private:
  OutputFile file_;
};

// A file rewritten through the safe replacement; its problems in a line for the terminal.
class RewrittenFile : public Sink {
 public:
  bool open(const std::filesystem::path& file) { return replacement_.open(file) || failed(); }
  bool write(std::string_view bytes) override { return replacement_.write(bytes) || failed(); }
  bool finish() override { return replacement_.commit() || failed(); }
  text::ReplaceProblem problem() const { return replacement_.problem(); }

 private:
  bool failed() {
    const std::string why = replacement_.reason();
    switch (replacement_.problem()) {
      case text::ReplaceProblem::None: error = "failed"; break;
      case text::ReplaceProblem::CannotOpen: error = why; break;
      case text::ReplaceProblem::NotAFile: error = "not a regular file"; break;
      case text::ReplaceProblem::ReadOnly: error = "the file is read-only"; break;
      case text::ReplaceProblem::MayNotWrite: error = why + " (you may not write it)"; break;
      case text::ReplaceProblem::SeveralLinks:
        error = "it has " + std::to_string(replacement_.links()) +
                " hard links, and rewriting one name would part it from the others (they would keep the old text); "
                "nothing written";
        break;
      case text::ReplaceProblem::NoRoomBeside:
        error = "no temporary file can be made in its folder (" + why +
                "): the new text is written beside the file first, so that a failure cannot leave it half written; "
                "nothing written";
        break;
      case text::ReplaceProblem::WriteFailed: error = "writing the new text failed (" + why + "); the file is as it was"; break;
      case text::ReplaceProblem::CannotKeepOwner:
        error = "its owner and group cannot be kept (" + why + "); the file is as it was";
        break;
      case text::ReplaceProblem::ReplaceFailed:
        error = "the new text could not take its place (" + why + "); the file is as it was";
        break;
      case text::ReplaceProblem::LeftBeside:
        error = "the old file is gone and the new text could not take its name (" + why + "); the new text is in " +
                shown_name(replacement_.temporary());
        break;
    }
    return false;
  }

  text::SafeReplacement replacement_;
};

// One run of a tool over its inputs, with what failed.
class Run {
 public:
  Run(const ToolSpec& tool, const Options& options, std::size_t file_count)
      : tool_(tool), options_(options), several_files_(file_count > 1), progress_(standard_error_is_terminal()) {}

  // The tool over one input (a file, or standard input for none), its result to out.
  void to_sink(const Argument* file, Sink& out) {
    if (tool_.by_character) {
      stream(file, out, nullptr);
    } else if (!tool_.run) {
      find(file, out);
    } else if (const std::optional<Input> input = whole(file)) {
      if (const Result result = computed(input->bytes(), file)) deliver(*result, out);
    }
  }

  // The tool over a file, written back over it; a file whose bytes would not change is left
  // alone.
  void in_place(const Argument& file) {
    RewrittenFile out;
    if (tool_.by_character) {
      // Opened first: the temporary file takes the blocks as they are converted.
      if (!out.open(file.path)) {
        return out.problem() == text::ReplaceProblem::CannotOpen ? cannot_read(&file, out.error) : cannot_rewrite(file, out);
      }
      bool changed = false;
      if (stream(&file, out, &changed) && changed && !out.finish()) cannot_rewrite(file, out);
      return;  // not finished, the temporary file goes, and the file stays as it was
    }
    const std::optional<Input> input = whole(&file);
    if (!input) return;
    const Result result = computed(input->bytes(), &file);
    if (!result || *result == input->bytes()) return;
    if (!out.open(file.path) || !out.write(*result) || !out.finish()) cannot_rewrite(file, out);
  }

  // A tool that reads no input.
  void made(Sink& out) {
    const Result result = tool_.run(std::string_view(), options_);
    if (!result) {
      write_message("quillet-tools: " + std::string(tool_.name) + ": the result would be larger than 256 MB; nothing written\n");
      failed_.push_back("(output)");
      return;
    }
    deliver(*result, out);
  }

  bool output_failed() const { return output_failed_; }
  bool found_any() const { return found_any_; }
  std::vector<std::string>& failed() { return failed_; }

 private:
  static std::string shown(const Argument* file) {
    return file != nullptr ? shown_name(file->path) : std::string("(standard input)");
  }

  void deliver(std::string_view bytes, Sink& out) {
    if (!out.write(bytes)) output_broke(out);
  }

  void output_broke(Sink& out) {
    if (output_failed_) return;
    output_failed_ = true;
    write_message("quillet-tools: cannot write " + output_name_ + ": " + out.error + "\n");
    failed_.push_back(output_name_);
  }

  void cannot_rewrite(const Argument& file, const Sink& out) {
    write_message("quillet-tools: cannot rewrite " + shown(&file) + ": " + out.error + "\n");
    failed_.push_back(shown(&file));
  }

  void cannot_read(const Argument* file, const std::string& why) {
    write_message("quillet-tools: cannot read " + shown(file) + ": " + why + "; nothing written\n");
    failed_.push_back(shown(file));
  }

  void announce(const Argument* file, std::uint64_t size) {
    if (progress_ && size > kProgressAbove) {
      write_message("quillet-tools: " + std::string(tool_.name) + " " + shown(file) + " (" + std::to_string(size >> 20) +
                    " MB)...\n");
    }
  }

  // The whole input, within the largest document: a tool that needs all of it at once holds
  // no more.
  std::optional<Input> whole(const Argument* file) {
    ReadFailure failure;
    std::optional<Input> input = read_whole(file != nullptr ? &file->path : nullptr, tools::kLargestDocument, failure);
    if (input) {
      announce(file, input->bytes().size());
    } else if (failure.too_large) {
      write_message("quillet-tools: " + std::string(tool_.name) + ": " + shown(file) +
                    (failure.size != 0 ? " holds " + std::to_string(failure.size) + " bytes," : std::string(" holds")) +
                    " more than the 268435456 (256 MB) this tool works on at once; nothing written\n");
      failed_.push_back(shown(file));
    } else {
      cannot_read(file, failure.reason);
    }
    return input;
  }

  Result computed(std::string_view input, const Argument* file) {
    Result result = tool_.run(input, options_);
    if (!result) {
      write_message("quillet-tools: " + std::string(tool_.name) + ": " + shown(file) +
                    ": the result would be larger than 256 MB, or the pattern too complex; nothing written\n");
      failed_.push_back(shown(file));
    }
    return result;
  }

  // A conversion, in blocks cut between characters: the same bytes as over the whole input,
  // of any size, without holding it. changed, when asked, tells whether any byte changed.
  bool stream(const Argument* file, Sink& out, bool* changed) {
    std::error_code unknown;
    if (file != nullptr) announce(file, std::filesystem::file_size(file->path, unknown));
    std::string error;
    bool written = true;
    const bool read = read_in_blocks(
        file != nullptr ? &file->path : nullptr, kBlock,
        [&](std::string_view bytes, bool at_end) -> std::optional<std::size_t> {
          // What follows the last whole character waits for the next block, but at the end.
          const std::size_t cut = at_end ? bytes.size() : whole_characters(bytes);
          const std::string converted = *tool_.run(bytes.substr(0, cut), options_);
          if (changed != nullptr && converted != bytes.substr(0, cut)) *changed = true;
          written = out.write(converted);
          return written ? std::optional<std::size_t>(cut) : std::nullopt;
        },
        error);
    if (!written) {
      if (changed != nullptr) {
        cannot_rewrite(*file, out);
      } else {
        output_broke(out);
      }
    } else if (!read) {
      cannot_read(file, error);
    }
    return read && written;
  }

  // The positions (from 1) of every match, a line each, found block by block over an input of
  // any size.
  void find(const Argument* file, Sink& out) {
    std::error_code unknown;
    if (file != nullptr) announce(file, std::filesystem::file_size(file->path, unknown));
    const std::string prefix = several_files_ ? shown(file) + ":" : std::string();
    tools::MatchesInPieces matches(options_.text("find"), options_.flags.contains("match-case"));
    std::string error;
    bool written = true;
    const bool read = read_in_blocks(
        file != nullptr ? &file->path : nullptr, kBlock,
        [&](std::string_view bytes, bool at_end) -> std::optional<std::size_t> {
          std::string lines;
          const std::size_t taken = matches.feed(bytes, at_end, [&](std::uint64_t position) {
            lines += prefix + std::to_string(position + 1) + "\n";
            found_any_ = true;
          });
          written = lines.empty() || out.write(lines);
          return written ? std::optional<std::size_t>(taken) : std::nullopt;
        },
        error);
    if (!written) {
      output_broke(out);
    } else if (!read) {
      cannot_read(file, error);
    }
  }

  const ToolSpec& tool_;
  const Options& options_;
  bool several_files_;
  bool progress_;
  std::vector<std::string> failed_;
  bool output_failed_ = false;
  bool found_any_ = false;

 public:
  std::string output_name_ = "(standard output)";
};

// A command line read: what to run, or the text to show (help, the version, a usage error).
struct Command {
  CommandLineVerdict verdict;
  const ToolSpec* tool = nullptr;
  Options options;
  std::vector<Argument> files;  // wildcards expanded
  const Argument* output = nullptr;
  bool in_place = false;
};

// A usage error's line, which stays one line whatever the words it quotes hold.
Command usage(const std::string& line) {
  std::string shown;
  for (const char c : line) {
    if (static_cast<unsigned char>(c) >= 0x20) {
      shown += c;
    } else {
      const char digits[] = "0123456789ABCDEF";
      shown += std::string("\\x") + digits[(c >> 4) & 0xF] + digits[c & 0xF];
    }
  }
  return {{CommandLineVerdict::Kind::UsageError, shown}};
}

Command read_command_line(const std::vector<Argument>& arguments) {
  if (arguments.empty()) return usage("no tool given (see quillet-tools --help)");
  const std::string& first = arguments[0].text;
  if (first == "--help" || first == "-h") return {{CommandLineVerdict::Kind::Help, program_help()}};
  if (first == "--version") return {{CommandLineVerdict::Kind::Help, std::string("quillet-tools ") + QUILLET_VERSION + "\n"}};
  Command command;
  command.tool = find_tool(first);
  if (command.tool == nullptr) return usage("unknown tool '" + first + "' (see quillet-tools --help)");
  const ToolSpec& tool = *command.tool;
  Options& options = command.options;
  std::vector<const Argument*> files;
  bool options_ended = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const Argument& argument = arguments[i];
    const std::string& word = argument.text;
    if (options_ended || word.size() < 2 || word[0] != '-') {
      files.push_back(&argument);
      continue;
    }
    if (word == "--") {
      options_ended = true;
    } else if (word == "--help" || word == "-h") {
      return {{CommandLineVerdict::Kind::Help, help_of(tool)}};
    } else if (word == "-i") {
      command.in_place = true;
    } else if (word == "-o") {
      if (i + 1 == arguments.size()) return usage("option -o needs a file name");
      command.output = &arguments[++i];
    } else {
      const std::string name = word.starts_with("--") ? word.substr(2) : word;
      const OptionSpec* spec = nullptr;
      for (const OptionSpec& candidate : tool.options) {
        if (name == candidate.name) spec = &candidate;
      }
      if (spec == nullptr || !word.starts_with("--")) {
        return usage("unknown option '" + word + "' for " + tool.name + " (see quillet-tools " + tool.name + " --help)");
      }
      if (spec->kind == Kind::Flag) {
        options.flags.insert(name);
        continue;
      }
      if (i + 1 == arguments.size()) return usage("option " + word + " needs a value");
      const Argument& value = arguments[++i];
      if (spec->kind == Kind::Text) {
        if (!value.lost.empty()) return usage("option " + word + ": GBK cannot hold the character(s) " + value.lost);
        options.texts[name] = value.text;
      } else {
        const std::optional<std::int32_t> number = whole_number(value.text);
        if (!number) return usage("option " + word + " needs a whole number, not '" + value.text + "'");
        options.numbers[name] = *number;
      }
    }
  }
  if (tool.check) {
    if (const std::string problem = tool.check(options); !problem.empty()) return usage(problem + " for " + tool.name);
  }
  // Wildcards the system left to the program name the files they match.
  for (const Argument* file : files) {
    for (const std::filesystem::path& path : files_named(file->path)) command.files.push_back({shown_name(path), "", path});
  }
  // find prints positions rather than a result: it has no function over the document.
  if (command.in_place && (command.files.empty() || command.output != nullptr || !tool.reads_input || !tool.run)) {
    return usage(command.files.empty() ? "option -i needs files" : "option -i cannot go with -o or this tool");
  }
  if (!tool.reads_input && !command.files.empty()) return usage(std::string(tool.name) + " reads no files");
  return command;
}

}  // namespace

CommandLineVerdict judge_command_line(const std::vector<Argument>& arguments) {
  return read_command_line(arguments).verdict;
}

int run_quillet_tools(const std::vector<Argument>& arguments) {
  const Command command = read_command_line(arguments);
  switch (command.verdict.kind) {
    case CommandLineVerdict::Kind::Help:
      write_message(command.verdict.line, true);
      return kDone;
    case CommandLineVerdict::Kind::UsageError:
      usage_error(command.verdict.line);
      return kUsageError;
    case CommandLineVerdict::Kind::Run:
      break;
  }
  const ToolSpec* tool = command.tool;
  const Options& options = command.options;
  const std::vector<Argument>& named = command.files;
  const Argument* output = command.output;
  const bool in_place = command.in_place;
  const bool finding = !tool->run;
  Run run(*tool, options, named.size());
  if (in_place) {
    for (const Argument& file : named) run.in_place(file);
  } else {
    // The -o file is written as the results come, unless it is one of the inputs: then the
    // results go beside it and take its place at the end, once every input is read.
    StandardOutput standard_output;
    WrittenFile written;
    RewrittenFile rewritten;
    Sink* out = &standard_output;
    bool opened = true;
    if (output != nullptr) {
      run.output_name_ = shown_name(output->path);
      const std::optional<FileIdentity> target = identity_of(output->path);
      bool is_an_input = false;
      for (const Argument& file : named) is_an_input = is_an_input || (target && identity_of(file.path) == target);
      if (is_an_input && is_ordinary_file(output->path)) {
        out = &rewritten;
        opened = rewritten.open(output->path);
      } else {
        out = &written;
        opened = written.open(output->path);
      }
      if (!opened) {
        write_message("quillet-tools: cannot write " + run.output_name_ + ": " + out->error + "\n");
        run.failed().push_back(run.output_name_);
      }
    }
    if (opened) {
      if (!tool->reads_input) {
        run.made(*out);
      } else if (named.empty()) {
        run.to_sink(nullptr, *out);
      } else {
        for (const Argument& file : named) {
          if (run.output_failed()) break;  // nothing more can be written
          run.to_sink(&file, *out);
        }
      }
      if (!run.output_failed() && !out->finish()) {
        write_message("quillet-tools: cannot write " + run.output_name_ + ": " + out->error + "\n");
        run.failed().push_back(run.output_name_);
      }
    }
  }
  if (!run.failed().empty()) {
    std::string list;
    for (const std::string& name : run.failed()) list += (list.empty() ? "" : ", ") + name;
    write_message("quillet-tools: failed: " + list + "\n");
    return kFileError;
  }
  if (finding && !run.found_any()) return kFoundNothing;
  return kDone;
}

}  // namespace quillet::cli

#include "cli/quillet_tools.h"

#include <charconv>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "tools/conversion.h"
#include "tools/find.h"
#include "tools/generators.h"
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
  help += "\nquillet-tools TOOL --help shows a tool's options. / quillet-tools 工具 --help 显示该工具的选项。\n"
          "Exit status / 退出状态: 0 done 完成, 1 find found nothing 未找到, 2 usage error 用法错误, "
          "3 a file could not be read or written 文件读写失败.\n";
  return help;
}

void usage_error(const std::string& line) {
  write_message("quillet-tools: " + line + "\n");
}

// Every match of the text, as find_next walks them: 1-based byte positions.
std::vector<std::size_t> matches(std::string_view document, std::string_view text, bool match_case) {
  std::vector<std::size_t> found;
  tools::ByteRange from{0, 0};
  while (const std::optional<std::size_t> at = tools::find_next(document, text, from, tools::SearchDirection::Forward, match_case)) {
    found.push_back(*at + 1);
    from = {*at, text.size()};
  }
  return found;
}

constexpr std::size_t kProgressAbove = std::size_t{64} << 20;
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

}  // namespace

int run_quillet_tools(const std::vector<Argument>& arguments) {
  if (arguments.empty()) {
    usage_error("no tool given (see quillet-tools --help)");
    return kUsageError;
  }
  const std::string& first = arguments[0].text;
  if (first == "--help" || first == "-h") {
    write_message(program_help(), true);
    return kDone;
  }
  if (first == "--version") {
    write_message(std::string("quillet-tools ") + QUILLET_VERSION + "\n", true);
    return kDone;
  }
  const ToolSpec* tool = find_tool(first);
  if (tool == nullptr) {
    usage_error("unknown tool '" + first + "' (see quillet-tools --help)");
    return kUsageError;
  }

  Options options;
  std::vector<const Argument*> files;
  std::optional<std::filesystem::path> output;
  bool in_place = false;
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
      write_message(help_of(*tool), true);
      return kDone;
    } else if (word == "-i") {
      in_place = true;
    } else if (word == "-o") {
      if (i + 1 == arguments.size()) {
        usage_error("option -o needs a file name");
        return kUsageError;
      }
      output = arguments[++i].path;
    } else {
      const std::string name = word.starts_with("--") ? word.substr(2) : word;
      const OptionSpec* spec = nullptr;
      for (const OptionSpec& candidate : tool->options) {
        if (name == candidate.name) spec = &candidate;
      }
      if (spec == nullptr || !word.starts_with("--")) {
        usage_error("unknown option '" + word + "' for " + tool->name + " (see quillet-tools " + tool->name + " --help)");
        return kUsageError;
      }
      if (spec->kind == Kind::Flag) {
        options.flags.insert(name);
        continue;
      }
      if (i + 1 == arguments.size()) {
        usage_error("option " + word + " needs a value");
        return kUsageError;
      }
      const Argument& value = arguments[++i];
      if (spec->kind == Kind::Text) {
        if (!value.lost.empty()) {
          usage_error("option " + word + ": GBK cannot hold the character(s) " + value.lost);
          return kUsageError;
        }
        options.texts[name] = value.text;
      } else {
        std::int32_t number = 0;
        const char* end = value.text.data() + value.text.size();
        const auto [stop, error] = std::from_chars(value.text.data(), end, number);
        if (error != std::errc() || stop != end) {
          usage_error("option " + word + " needs a whole number, not '" + value.text + "'");
          return kUsageError;
        }
        options.numbers[name] = number;
      }
    }
  }
  if (tool->check) {
    if (const std::string problem = tool->check(options); !problem.empty()) {
      usage_error(problem + " for " + tool->name);
      return kUsageError;
    }
  }
  // Wildcards the system left to the program name the files they match.
  std::vector<Argument> named;
  for (const Argument* file : files) {
    for (const std::filesystem::path& path : files_named(file->path)) named.push_back({shown_name(path), "", path});
  }
  files.clear();
  for (const Argument& file : named) files.push_back(&file);
  // find prints positions rather than a result: it has no function over the document.
  const bool finding = !tool->run;
  if (in_place && (files.empty() || output || !tool->reads_input || finding)) {
    usage_error(files.empty() ? "option -i needs files" : "option -i cannot go with -o or this tool");
    return kUsageError;
  }
  if (!tool->reads_input && !files.empty()) {
    usage_error(std::string(tool->name) + " reads no files");
    return kUsageError;
  }

  const bool progress = standard_error_is_terminal();
  std::vector<std::string> failed;
  std::string collected;  // for -o
  bool found_any = false;
  const auto process = [&](std::string_view input, const Argument* file) -> bool {
    const std::string shown = file != nullptr ? shown_name(file->path) : std::string("(standard input)");
    if (progress && input.size() > kProgressAbove) {
      write_message("quillet-tools: " + std::string(tool->name) + " " + shown + " (" +
                    std::to_string(input.size() >> 20) + " MB)...\n");
    }
    if (finding) {
      const std::vector<std::size_t> found = matches(input, options.text("find"), options.flags.contains("match-case"));
      std::string lines;
      for (const std::size_t position : found) {
        lines += (files.size() > 1 ? shown + ":" : std::string()) + std::to_string(position) + "\n";
      }
      found_any = found_any || !found.empty();
      return write_standard_output(lines);
    }
    const Result result = tool->run(input, options);
    if (!result) {
      write_message("quillet-tools: " + std::string(tool->name) + ": " + shown +
                    ": the result would be larger than 256 MB, or the pattern too complex; nothing written\n");
      return false;
    }
    if (in_place) {
      if (*result == input) return true;  // nothing to change: the file is left alone
      std::string error;
      if (!replace_file(file->path, *result, error)) {
        write_message("quillet-tools: cannot rewrite " + shown + ": " + error + "\n");
        return false;
      }
      return true;
    }
    if (output) {
      collected += *result;
      return true;
    }
    return write_standard_output(*result);
  };

  // A conversion to standard output goes through in blocks: the same bytes as over the whole
  // input, without holding it.
  const auto stream = [&](const Argument* file) -> bool {
    const std::string shown = file != nullptr ? shown_name(file->path) : std::string("(standard input)");
    std::error_code unknown;
    if (file != nullptr && progress && std::filesystem::file_size(file->path, unknown) > kProgressAbove) {
      write_message("quillet-tools: " + std::string(tool->name) + " " + shown + "...\n");
    }
    std::string error;
    bool written = true;
    const bool read = read_in_blocks(
        file != nullptr ? &file->path : nullptr, kBlock,
        [&](std::string_view bytes, bool at_end) -> std::optional<std::size_t> {
          // What follows the last whole character waits for the next block, but at the end.
          const std::size_t cut = at_end ? bytes.size() : whole_characters(bytes);
          written = write_standard_output(*tool->run(bytes.substr(0, cut), options));
          return written ? std::optional<std::size_t>(cut) : std::nullopt;
        },
        error);
    if (!read && written) write_message("quillet-tools: cannot read " + shown + ": " + error + "\n");
    return read && written;
  };

  if (!tool->reads_input) {
    if (!process(std::string_view(), nullptr)) failed.push_back("(output)");
  } else if (tool->by_character && !in_place && !output) {
    if (files.empty()) {
      if (!stream(nullptr)) failed.push_back("(standard input)");
    }
    for (const Argument* file : files) {
      if (!stream(file)) failed.push_back(shown_name(file->path));
    }
  } else if (files.empty()) {
    const std::string input = read_standard_input();
    if (!process(input, nullptr)) failed.push_back("(standard input)");
  } else {
    for (const Argument* file : files) {
      std::string error;
      const std::optional<Input> input = read_file(file->path, error);
      if (!input) {
        write_message("quillet-tools: cannot read " + shown_name(file->path) + ": " + error + "\n");
        failed.push_back(shown_name(file->path));
        continue;
      }
      if (!process(input->bytes(), file)) failed.push_back(shown_name(file->path));
    }
  }
  if (output) {
    std::string error;
    if (!write_file(*output, collected, error)) {
      write_message("quillet-tools: cannot write " + shown_name(*output) + ": " + error + "\n");
      failed.push_back(shown_name(*output));
    }
  }
  if (!failed.empty()) {
    std::string list;
    for (const std::string& name : failed) list += (list.empty() ? "" : ", ") + name;
    write_message("quillet-tools: failed: " + list + "\n");
    return kFileError;
  }
  if (finding && !found_any) return kFoundNothing;
  return kDone;
}

}  // namespace quillet::cli

// The text tools in the real main window under Wine: a 1 MB and an 8 MB GBK document opened,
// then each tool run from its menu or its dialog's button. For every tool the time of the whole command is split
// into reading the document, the tool's own computation and the edit box update, and the
// update is set beside a plain content write of the same result. Run it in a visible window
// (scripts/bench runs it on a virtual X server with Wine's X11 driver) for the figures a user
// feels.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/corpus.h"
#include "bench/timing.h"
#include "editor/app_state.h"
#include "editor/application.h"
#include "editor/document.h"
#include "forms/catalogue.h"
#include "forms/win32/form_runtime.h"
#include "forms/win32/menu_lookup.h"
#include "runtime/win32_text.h"
#include "text/conversion.h"
#include "text/text_value.h"
#include "tools/conversion.h"
#include "tools/find.h"
#include "tools/generators.h"
#include "tools/paragraphs.h"
#include "tools/regex_tools.h"
#include "tools/replace.h"

namespace {

using namespace quillet;
using forms::win32::FormRuntime;

// Milliseconds of the work, including the painting it leaves for the message loop.
double timed_ms(const std::function<void()>& work) {
  const double start = bench::seconds_now();
  work();
  FormRuntime::instance().process_pending_messages();
  return (bench::seconds_now() - start) * 1000.0;
}

void choose(const char* caption) {
  const HWND window = FormRuntime::instance().window_of(forms::kMainForm);
  SendMessageW(window, WM_COMMAND, forms::win32::menu_command(window, caption), 0);
}

std::string document_text() {
  const text::OwnedText document = editor::ReadDocument();
  return document ? document.get() : "";
}

void click(const forms::UnitRef& button) {
  SendMessageW(FormRuntime::instance().control(button.form_id, button.unit_id)->window(), BM_CLICK, 0, 0);
}

void fill(const forms::UnitRef& box, const char* text) { forms::win32::call::write_text(box, 8, text); }

// A tool as the user runs it: prepare opens its dialog and fills it in (not timed), run is the
// menu item or the button, compute the tool's own function on the same settings.
struct Tool {
  const char* name;
  std::function<void()> prepare;
  std::function<void()> run;
  std::function<std::optional<std::string>(std::string_view)> compute;
};

Tool from_menu(const char* caption, std::function<std::optional<std::string>(std::string_view)> compute) {
  return {caption, [] {}, [caption] { choose(caption); }, std::move(compute)};
}

std::vector<Tool> every_tool() {
  namespace unit = forms::unit;
  using tools::SpacesToDelete;
  const auto& line_break = unit::line_break_replace_form;
  return {
      from_menu("到大写", tools::upper_case),
      from_menu("到小写", tools::lower_case),
      from_menu("到全角", [](std::string_view d) { return tools::full_width(d); }),
      from_menu("到半角", tools::half_width),
      {"替换",
       [] {
         choose("&R.基本替换");
         fill(unit::replace_form::kFindText, "editor");
         fill(unit::replace_form::kReplacement, "EDITOR");
       },
       [] { click(unit::replace_form::kReplaceButton); },
       [](std::string_view d) { return tools::replace_all(d, "editor", "EDITOR", false); }},
      {"换行符前后",  // joins every line that ends in a full stop to the next
       [&line_break] {
         choose("换行符前后文本");
         fill(line_break.find_before, "\xA1\xA3");
         fill(line_break.replace_before, "\xA1\xA3");
         forms::win32::call::write_bool(line_break.replace_separator, 18, false);
       },
       [&line_break] { click(line_break.run_button); },
       [](std::string_view d) {
         return tools::replace_around_separator(d, {tools::kLineBreak, "\xA1\xA3", true, "", "\xA1\xA3", false, ""});
       }},
      from_menu("多换行符变单换行符", tools::collapse_line_breaks),
      from_menu("合为一段", tools::merge_paragraphs),
      {"分割文本",
       [] {
         choose("分割文本");
         fill(unit::split_form::kSeparator, "\xA3\xAC");  // ，
       },
       [] { click(unit::split_form::kRunButton); },
       [](std::string_view d) { return tools::split_at(d, "\xA3\xAC"); }},
      {"段前增减", [] { choose("段前增减"); }, [] { click(unit::leading_spaces_form::kRunButton); },
       [](std::string_view d) { return tools::indent_paragraphs(d, 4); }},
      {"删除段首尾",
       [] {
         choose("删除");
         click(unit::delete_spaces_form::kBothEnds);
       },
       [] { click(unit::delete_spaces_form::kRunButton); },
       [](std::string_view d) { return tools::delete_spaces(d, SpacesToDelete::BothEnds); }},
      {"删除全部", [] { click(unit::delete_spaces_form::kAll); },
       [] { click(unit::delete_spaces_form::kRunButton); },
       [](std::string_view d) { return tools::delete_spaces(d, SpacesToDelete::All); }},
      {"正则替换",
       [] {
         choose("&Z.正则替换/提取");
         click(unit::regex_form::kReplaceMode);
         fill(unit::regex_form::kPattern, "[0-9]+");
         fill(unit::regex_form::kReplacement, "#");
       },
       [] { click(unit::regex_form::kRunButton); },
       [](std::string_view d) { return tools::regex_replace(d, "[0-9]+", "#", false).value_or(""); }},
      {"正则提取", [] { click(unit::regex_form::kExtractMode); }, [] { click(unit::regex_form::kRunButton); },
       [](std::string_view d) { return tools::regex_extract(d, "[0-9]+", false).value_or(""); }},
      {"保留位置",  // the middle half
       [] {
         choose("保留指定位置");
         click(unit::regex_form::kExtractMode);
         fill(unit::regex_form::kPattern, "1000000");
         fill(unit::regex_form::kReplacement, "2000000");
       },
       [] { click(unit::regex_form::kRunButton); },
       [](std::string_view d) { return tools::cut_range(d, 1000000, 2000000, tools::RangeChoice::Keep); }},
      {"序号10万行",
       [] {
         choose("带序号文本");
         fill(unit::numbered_text_form::kLeftText, "Item");
         fill(unit::numbered_text_form::kStartNumber, "1");
         fill(unit::numbered_text_form::kRightText, ".");
         fill(unit::numbered_text_form::kLineCount, "100000");
       },
       [] { click(unit::numbered_text_form::kRunButton); },
       [](std::string_view) { return *tools::numbered_lines({"Item", true, 1, "."}, 100000); }},
      {"段前插入",
       [] {
         choose("段前");
         fill(unit::numbered_text_form::kLeftText, "No.");
         fill(unit::numbered_text_form::kRightText, " ");
       },
       [] { click(unit::numbered_text_form::kRunButton); },
       [](std::string_view d) {
         return *tools::insert_in_paragraphs(d, tools::Placement::BeforeParagraphs, {"No.", true, 1, " "});
       }},
      {"时间", [] {}, [] { choose("&T.时间"); },
       [](std::string_view d) {
         const text::OwnedText now = text::call::to_text(text::date_time_record(text::call::now()));
         return std::string(d) + now.get();
       }},
  };
}

}  // namespace

int main() {
  FormRuntime& runtime = FormRuntime::initialise();
  editor::CreateState();
  editor::RegisterHandlers();
  if (!runtime.load_form(forms::kMainForm)) return 1;
  runtime.process_pending_messages();
  std::printf("main window visible: %s\n", IsWindowVisible(runtime.window_of(forms::kMainForm)) ? "yes" : "no");

  const std::vector<Tool> tools = every_tool();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillet-bench";
  std::filesystem::create_directories(folder);

  for (const std::size_t megabytes : {1, 8}) {
    const std::string corpus = bench::make_corpus(megabytes << 20);
    const std::filesystem::path path = folder / ("corpus-" + std::to_string(megabytes) + "mb.txt");
    std::ofstream(path, std::ios::binary) << corpus;
    const std::string windows_path = runtime::win32::narrow(path.wstring());

    editor::WriteDocument(nullptr);
    const double open_ms = timed_ms([&] { editor::LoadDocument(windows_path.c_str()); });
    if (document_text() != corpus) std::printf("  (MISMATCH after open)\n");
    std::printf("\n%zu MB: open %.0f ms\n", megabytes, open_ms);
    std::printf("  %-10s %9s %9s %9s %9s %9s %12s %8s %9s\n", "tool", "total ms", "read ms", "compute", "update",
                "compute%", "plain write", "ratio", "undo ms");

    for (const Tool& tool : tools) {
      editor::State().fullWidthMode = 0;
      tool.prepare();
      const std::string expected = *tool.compute(corpus);
      // The same old text is replaced in both measurements.
      editor::WriteDocument(corpus.c_str());
      const double plain_ms = timed_ms([&] { editor::WriteDocument(expected.c_str()); });

      // A write makes the next read a real one, as it is when a tool starts after typing.
      editor::WriteDocument(corpus.c_str());
      std::string read;
      const double read_ms = timed_ms([&] { read = document_text(); });
      const double compute_ms = timed_ms([&] { (void)tool.compute(read); });
      editor::WriteDocument(corpus.c_str());
      const double total_ms = timed_ms(tool.run);
      const double update_ms = total_ms - read_ms - compute_ms;
      // Worked out again just after the run, for a tool that reads the clock.
      const bool converted = document_text() == *tool.compute(corpus);
      const double undo_ms = timed_ms([&] { choose("&U.撤消"); });
      const bool undone = document_text() == corpus;
      std::printf("  %-10s %9.0f %9.1f %9.1f %9.0f %8.1f%% %12.0f %7.2fx %9.0f%s\n", tool.name, total_ms, read_ms,
                  compute_ms, update_ms, 100.0 * compute_ms / total_ms, plain_ms, update_ms / plain_ms, undo_ms,
                  converted && undone ? "" : "  (MISMATCH)");
    }

    // Find: from the start to a text that only the end holds.
    const std::string needle = "\xD5\xD2\xB5\xBD\xCE\xD2";  // 找到我
    std::string with_needle = corpus + needle;
    editor::WriteDocument(with_needle.c_str());
    editor::State().searchText.reset(text::copy_text(needle.c_str()));
    editor::SelectInDocument(0, 0);
    const double find_ms = timed_ms([&] { choose("&N.查找下一个"); });
    const tools::ByteRange found = editor::DocumentSelection();
    std::printf("  find next to the end: %.0f ms%s\n", find_ms,
                found.start == corpus.size() && found.length == needle.size() ? "" : "  (NOT FOUND)");
  }
  runtime.close_all_forms();
  std::filesystem::remove_all(folder);
  return 0;
}

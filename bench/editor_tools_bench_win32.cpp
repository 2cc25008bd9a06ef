// The text tools in the real main window under Wine: a 1 MB and an 8 MB GBK document opened,
// then each tool chosen from its menu. For every tool the time of the whole command is split
// into reading the document, the tool's own computation and the edit box update, and the
// update is set beside a plain content write of the same result. Run it in a visible window
// (scripts/bench runs it on a virtual X server with Wine's X11 driver) for the figures a user
// feels.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "bench/corpus.h"
#include "bench/timing.h"
#include "editor/app_state.h"
#include "editor/application.h"
#include "editor/document.h"
#include "forms/catalogue.h"
#include "forms/win32/form_runtime.h"
#include "forms/win32/menu_lookup.h"
#include "runtime/win32_text.h"
#include "text/text_value.h"
#include "tools/conversion.h"
#include "tools/find.h"

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

struct Tool {
  const char* caption;
  std::string (*compute)(std::string_view);
};

}  // namespace

int main() {
  FormRuntime& runtime = FormRuntime::initialise();
  editor::CreateState();
  editor::RegisterHandlers();
  if (!runtime.load_form(forms::kMainForm)) return 1;
  runtime.process_pending_messages();
  std::printf("main window visible: %s\n", IsWindowVisible(runtime.window_of(forms::kMainForm)) ? "yes" : "no");

  const Tool tools[] = {{"到大写", quillet::tools::upper_case},
                        {"到小写", quillet::tools::lower_case},
                        {"到全角", quillet::tools::full_width},
                        {"到半角", quillet::tools::half_width}};
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
    std::printf("  %-8s %9s %9s %9s %9s %9s %12s %8s %9s\n", "tool", "total ms", "read ms", "compute", "update",
                "compute%", "plain write", "ratio", "undo ms");

    for (const Tool& tool : tools) {
      editor::State().fullWidthMode = 0;
      // The same old text is replaced in both measurements.
      editor::WriteDocument(corpus.c_str());
      const std::string expected = tool.compute(corpus);
      const double plain_ms = timed_ms([&] { editor::WriteDocument(expected.c_str()); });

      // A write makes the next read a real one, as it is when a tool starts after typing.
      editor::WriteDocument(corpus.c_str());
      std::string read;
      const double read_ms = timed_ms([&] { read = document_text(); });
      const double compute_ms = timed_ms([&] { (void)tool.compute(read); });
      editor::WriteDocument(corpus.c_str());
      const double total_ms = timed_ms([&] { choose(tool.caption); });
      const double update_ms = total_ms - read_ms - compute_ms;
      const bool converted = document_text() == expected;
      const double undo_ms = timed_ms([&] { choose("&U.撤消"); });
      const bool undone = document_text() == corpus;
      std::printf("  %-8s %9.0f %9.1f %9.1f %9.0f %8.1f%% %12.0f %7.2fx %9.0f%s\n", tool.caption, total_ms, read_ms,
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

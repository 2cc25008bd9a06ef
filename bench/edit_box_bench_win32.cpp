// How long the main edit box takes to take and give back a document of 1, 8, 32 and 64 MB under
// Wine, and how much of that is ours (the codec and the byte/unit offset mapping).
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/corpus.h"
#include "bench/timing.h"
#include "forms/catalogue.h"
#include "forms/win32/form_runtime.h"
#include "forms/win32/property_service.h"
#include "runtime/cp936.h"
#include "runtime/win32_text.h"

namespace {

using quillet::bench::seconds_now;
using namespace quillet::forms;

template <class Work>
double timed(Work work) {
  const double start = seconds_now();
  work();
  return (seconds_now() - start) * 1000.0;
}

}  // namespace

int main() {
  win32::FormRuntime& runtime = win32::FormRuntime::initialise();
  if (!runtime.load_form(kMainForm)) return 1;
  const UnitRef document = unit::main_window::kDocument;
  const quillet::runtime::Cp936Codec& codec = quillet::runtime::Cp936Codec::system();
  std::printf("%-6s %12s %12s %12s %12s %12s %12s\n", "MB", "write ms", "widen ms", "read ms", "narrow ms",
              "sel read ms", "map ms");
  for (const std::size_t megabytes : {1, 8, 32, 64}) {
    const std::string text = quillet::bench::make_corpus(megabytes << 20);
    std::wstring wide;
    const double widen_ms = timed([&] { wide = quillet::runtime::win32::widen(text); });
    const double write_ms = timed([&] { win32::call::write_text(document, 8, text.c_str()); });
    quillet::text::OwnedText back;
    const double read_ms = timed([&] { back = win32::call::read_text(document, 8); });
    std::string narrowed;
    const double narrow_ms = timed([&] { narrowed = quillet::runtime::win32::narrow(wide); });
    win32::call::write_int(document, 24, static_cast<std::int32_t>(text.size() / 2));
    std::int32_t start = 0;
    const double selection_ms = timed([&] { start = win32::call::read_int(document, 24); });
    std::size_t units = 0;
    const double map_ms = timed([&] { units = codec.units_before(text, text.size() / 2); });
    const bool same = back && text == back.get() && narrowed == text && units > 0 && start > 0;
    std::printf("%-6zu %12.1f %12.1f %12.1f %12.1f %12.1f %12.1f%s\n", megabytes, write_ms, widen_ms, read_ms, narrow_ms,
                selection_ms, map_ms, same ? "" : "  (MISMATCH)");
  }
  runtime.close_all_forms();
  return 0;
}

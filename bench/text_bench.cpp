// Throughput of every command that passes over a whole text, on a 64 MB GBK corpus, next to
// memcpy of the same bytes. Usage: text_bench [megabytes]. Each figure is the median of 5 runs.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <optional>
#include <string>
#include <sys/mman.h>
#include <vector>

#include "bench/corpus.h"
#include "bench/timing.h"
#include "runtime/memory.h"
#include "text/case_width.h"
#include "text/search.h"
#include "text/values.h"
#include "tools/generators.h"
#include "tools/paragraphs.h"
#include "tools/replace.h"

namespace {

using namespace quillet::text;
using quillet::bench::seconds_now;

// cleanup runs after each timed run, outside the time.
double median_mb_per_s(std::size_t bytes, const std::function<void()>& run,
                       const std::function<void()>& cleanup = [] {}) {
  std::vector<double> rates;
  for (int i = 0; i < 5; ++i) {
    const double start = seconds_now();
    run();
    rates.push_back(static_cast<double>(bytes) / 1e6 / (seconds_now() - start));
    cleanup();
  }
  std::sort(rates.begin(), rates.end());
  return rates[2];
}

volatile std::size_t sink;

void* mmap_fresh(std::size_t bytes) {
  return mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
}

void consume(const std::string& text) { sink = sink + text.size(); }
void consume(const std::optional<std::string>& text) { sink = sink + (text ? text->size() : 0); }

void consume(char* text) {
  sink = sink + (text != nullptr ? static_cast<unsigned char>(text[0]) : 0);
  quillet::runtime::release(text);
}

}  // namespace

int main(int argc, char** argv) {
  // Page faults on fresh memory cost about 10 us each on this kind of virtual machine, which
  // caps any command that writes a fresh 64 MB result near 400 MB/s. Keep freed blocks in the
  // heap instead of returning them to the system, as a long-running editor's heap would, so the
  // figures show the commands rather than the first touch of new pages. "memcpy to a fresh
  // block" below shows what the first touch costs.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
  const std::string corpus = quillet::bench::make_corpus(megabytes << 20);
  const std::string_view text = corpus;
  std::string copy(corpus.size(), '\0');

  const double memcpy_rate = median_mb_per_s(corpus.size(), [&] {
    std::memcpy(copy.data(), corpus.data(), corpus.size());
    sink = sink + static_cast<unsigned char>(copy[corpus.size() / 2]);
  });
  std::printf("corpus %zu MB\n%-32s %8.0f MB/s\n", megabytes, "memcpy", memcpy_rate);
  const double fresh_rate = median_mb_per_s(corpus.size(), [&] {
    void* block = mmap_fresh(corpus.size());
    std::memcpy(block, corpus.data(), corpus.size());
    sink = sink + static_cast<unsigned char*>(block)[corpus.size() / 2];
    munmap(block, corpus.size());
  });
  std::printf("%-32s %8.0f MB/s\n", "memcpy to a fresh block", fresh_rate);

  auto report = [&](const char* name, const std::function<void()>& run,
                    const std::function<void()>& cleanup = [] {}) {
    const double rate = median_mb_per_s(corpus.size(), run, cleanup);
    std::printf("%-32s %8.0f MB/s  %5.3f of memcpy\n", name, rate, rate / memcpy_rate);
    std::fflush(stdout);
  };
  report("FindText (absent)", [&] { sink = sink + static_cast<std::size_t>(find_text(text, "\xD6\xD0zq")); });
  report("FindText (absent, ignore case)",
         [&] { sink = sink + static_cast<std::size_t>(find_text(text, "QUILLETX", {}, true)); });
  report("FindTextReverse (absent)", [&] { sink = sink + static_cast<std::size_t>(find_text_reverse(text, "\xD6\xD0zq")); });
  report("ReplaceSubtext (case-sensitive)", [&] { consume(replace_subtext(text, "editor", "EDITOR", {}, {}, true)); });
  report("ReplaceSubtext (ignore case)", [&] { consume(replace_subtext(text, "editor", "EDITOR", {}, {}, false)); });
  // The caller's release of 1.6 million lines is glibc's work, not the command's: untimed.
  void* lines = nullptr;
  report(
      "SplitText on CRLF", [&] { lines = split_text(text, "\r\n"); },
      [&] {
        sink = sink + array_element_count(lines);
        release_block_array(lines);
      });
  report("ToUpper", [&] { consume(to_upper(text)); });
  report("ToLower", [&] { consume(to_lower(text)); });
  report("ToFullWidth", [&] { consume(to_full_width(text)); });
  report("ToHalfWidth", [&] { consume(to_half_width(text)); });
  report("TrimBoth per line", [&] {
    const char* p = corpus.data();
    const char* end = p + corpus.size();
    while (p < end) {
      const char* line_end = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      const char* next = line_end != nullptr ? line_end + 1 : end;
      consume(trim_both(std::string_view(p, static_cast<std::size_t>(next - p))));
      p = next;
    }
  });
  report("RemoveAllSpaces", [&] { consume(remove_all_spaces(text)); });

  // The editor's whole-document tools.
  namespace tools = quillet::tools;
  report("tool: replace (match case)", [&] { consume(tools::replace_all(text, "editor", "EDITOR", true)); });
  report("tool: replace (any case)", [&] { consume(tools::replace_all(text, "editor", "EDITOR", false)); });
  report("tool: replace around line break",
         [&] { consume(tools::replace_around_separator(text, {tools::kLineBreak, "", true, "", "", false, ""})); });
  report("tool: replace around tab",
         [&] { consume(tools::replace_around_separator(text, {tools::kTab, "a", true, "b", "1", true, "2"})); });
  report("tool: many line breaks to one", [&] { consume(tools::collapse_line_breaks(text)); });
  report("tool: merge into one paragraph", [&] { consume(tools::merge_paragraphs(text)); });
  report("tool: split at \"\xA3\xAC\"", [&] { consume(tools::split_at(text, "\xA3\xAC")); });
  report("tool: indent paragraphs by 4", [&] { consume(tools::indent_paragraphs(text, 4)); });
  report("tool: delete leading spaces", [&] { consume(tools::delete_spaces(text, tools::SpacesToDelete::Leading)); });
  report("tool: delete trailing spaces", [&] { consume(tools::delete_spaces(text, tools::SpacesToDelete::Trailing)); });
  report("tool: delete spaces at both ends",
         [&] { consume(tools::delete_spaces(text, tools::SpacesToDelete::BothEnds)); });
  report("tool: delete all spaces", [&] { consume(tools::delete_spaces(text, tools::SpacesToDelete::All)); });
  report("tool: number every paragraph",
         [&] { consume(*tools::insert_in_paragraphs(text, tools::Placement::BeforeParagraphs, {"No.", true, 1, ". "})); });

  // The generators, timed by what they make: the median of 5 runs.
  const auto generated = [](const char* name, const std::function<std::string()>& make) {
    std::vector<double> took;
    std::size_t size = 0;
    for (int i = 0; i < 5; ++i) {
      const double start = seconds_now();
      const std::string made = make();
      took.push_back(seconds_now() - start);
      size = made.size();
    }
    std::sort(took.begin(), took.end());
    std::printf("%-32s %8.1f ms for %.1f MB\n", name, took[2] * 1e3, static_cast<double>(size) / 1e6);
  };
  generated("1,000,000 numbered lines", [] { return *tools::numbered_lines({"Item", true, 1, "."}, 1000000); });
  tools::RandomTextRule account{tools::LengthChoice::Range, 0, 6, 12};
  account.letter_first = true;
  const tools::RandomTextRule password{tools::LengthChoice::Fixed, 10};
  generated("1,000,000 accounts (6-12, 10)", [&] { return *tools::accounts_and_passwords(account, password, 1000000); });
  return 0;
}

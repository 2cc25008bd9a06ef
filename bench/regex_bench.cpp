// Regular expressions over the 64 MB corpus: extracting every match of [0-9]+ and of a Chinese
// literal, next to grep -a -o -E (bytes, LC_ALL=C) on the same file; then the time pathological patterns take over
// 1 MB before the library's complexity limit ends them.
// Usage: regex_bench [megabytes]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/corpus.h"
#include "bench/timing.h"
#include "text/regex.h"
#include "tools/regex_tools.h"

namespace {

using namespace quillet::text;
using quillet::bench::seconds_now;

double grep_seconds(const char* pattern, const std::string& file) {
  const std::string command = "LC_ALL=C grep -a -o -E '" + std::string(pattern) + "' " + file + " | wc -l > /dev/null";  // grep stops early when writing to /dev/null
  const double start = seconds_now();
  if (std::system(command.c_str()) != 0) std::printf("(grep failed)\n");
  return seconds_now() - start;
}

void extract(const char* name, const char* pattern, const std::string& corpus, const std::string& file) {
  RegexVariable regex;
  call::create(regex, pattern);
  const double start = seconds_now();
  OwnedSearchResults results = call::search_all(regex, corpus.c_str());
  const double took = seconds_now() - start;
  const double megabytes = static_cast<double>(corpus.size()) / 1e6;
  std::printf("%-22s %9zu matches  %7.0f MB/s   grep -a -o -E %7.0f MB/s\n", name, array_element_count(results.get()),
              megabytes / took, megabytes / grep_seconds(pattern, file));
}

// A regex replace as it is usually done, one pass writing the replacement over each match.
std::string one_pass_replace(const std::string& text, const char* pattern, const std::string& with) {
  const RegexMatches found = find_all_matches(pattern, true, text);
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (const MatchSpan& span : found.spans) {
    out.append(text, at, span.start - at);
    out.append(with);
    at = span.start + span.length;
  }
  out.append(text, at, std::string::npos);
  return out;
}

// The editor's tools: replace in turn (every match text over the whole document) against the
// one-pass replace, and extract against grep.
void tools_on(const char* name, const std::string& text, const char* pattern, const std::string& file) {
  double start = seconds_now();
  const std::string once = one_pass_replace(text, pattern, "-");
  const double once_took = seconds_now() - start;
  start = seconds_now();
  const std::optional<std::string> in_turn = quillet::tools::regex_replace(text, pattern, "-", true);
  const double turn_took = seconds_now() - start;
  start = seconds_now();
  const std::optional<std::string> list = quillet::tools::regex_extract(text, pattern, true);
  const double extract_took = seconds_now() - start;
  const double megabytes = static_cast<double>(text.size()) / 1e6;
  std::printf("%-10s %-8s %7zu matches: one pass %7.1f ms, in turn %7.1f ms (%4.1fx), extract %6.0f MB/s",
              name, pattern, find_all_matches(pattern, true, text).spans.size(), once_took * 1e3, turn_took * 1e3,
              turn_took / once_took, megabytes / extract_took);
  if (!file.empty()) std::printf(", grep -o %6.0f MB/s", megabytes / grep_seconds(pattern, file));
  std::printf("%s\n", in_turn && list ? "" : "  (GAVE UP)");
}

void pathological(const char* name, const std::string& pattern, const std::string& text) {
  RegexVariable regex;
  call::create(regex, pattern.c_str());
  const double start = seconds_now();
  OwnedSearchResults results = call::search_all(regex, text.c_str());
  std::printf("%-22s %6.2f s, %zu matches kept\n", name, seconds_now() - start, array_element_count(results.get()));
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
  const std::string corpus = quillet::bench::make_corpus(megabytes << 20);
  const std::string file = "/tmp/quillet_regex_corpus.txt";
  if (FILE* out = std::fopen(file.c_str(), "wb")) {
    std::fwrite(corpus.data(), 1, corpus.size(), out);
    std::fclose(out);
  }
  std::printf("corpus %zu MB\n", megabytes);
  extract("[0-9]+", "[0-9]+", corpus, file);
  extract("Chinese literal", "\xB0\xA1\xB0\xA2", corpus, file);  // 啊阿
  tools_on("corpus", corpus, "[0-9]+", file);
  tools_on("corpus", corpus, "[a-z]+", file);
  std::remove(file.c_str());
  // One megabyte with about ten thousand matches.
  const std::string one = quillet::bench::make_corpus(1 << 20);
  tools_on("1 MB", one, "[0-9]+|the", "");
  tools_on("1 MB", one, "[a-z]+", "");

  const std::string as(1 << 20, 'a');
  pathological("(a+)+$ on a...ab", "(a+)+$", as + "b");
  pathological("(.*)*b on a...a", "(.*)*b", as);
  std::string many;
  for (int i = 0; i < 40; ++i) many += ".*";
  pathological("40 x .* then =", many + "=", as);
  return 0;
}

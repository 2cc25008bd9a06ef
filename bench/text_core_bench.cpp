// Throughput of the shared text helpers over a few MB of mixed GBK text, next to memcpy.
// Usage: text_core_bench [megabytes]   (median of 5 runs per line)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <time.h>
#include <vector>

#include "text/text_builder.h"
#include "text/scan.h"

namespace {

using quillet::text::find_on_boundary;
using quillet::text::TextBuilder;

std::string make_corpus(std::size_t bytes) {
  static const char* pieces[] = {"\xD6\xD0\xCE\xC4\xB2\xE2\xCA\xD4", "hello world ", "12345 ", "\r\n",
                                 "\xA1\xA1", "\xA3\xC1\xA3\xE1", "\r\n\r\n\r\n"};
  std::string corpus;
  corpus.reserve(bytes + 16);
  unsigned state = 1;
  while (corpus.size() < bytes) {
    state = state * 214013u + 2531011u;
    corpus += pieces[(state >> 16) % 7];
  }
  corpus.resize(bytes);
  return corpus;
}

// Not <chrono>: its "µs" suffix has no GBK form, and this file is compiled to GBK like the rest.
double seconds_now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double median_mb_per_s(std::size_t bytes, const std::function<void()>& run) {
  std::vector<double> rates;
  for (int i = 0; i < 5; ++i) {
    const double start = seconds_now();
    run();
    rates.push_back(static_cast<double>(bytes) / 1e6 / (seconds_now() - start));
  }
  std::sort(rates.begin(), rates.end());
  return rates[2];
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 16;
  const std::string corpus = make_corpus(megabytes << 20);
  std::string copy(corpus.size(), '\0');
  volatile std::size_t sink = 0;

  const double memcpy_rate = median_mb_per_s(corpus.size(), [&] {
    std::memcpy(copy.data(), corpus.data(), corpus.size());
    sink = sink + static_cast<unsigned char>(copy[corpus.size() / 2]);
  });
  std::printf("%-34s %9.0f MB/s\n", "memcpy", memcpy_rate);

  auto report = [&](const char* name, const std::function<void()>& run) {
    const double rate = median_mb_per_s(corpus.size(), run);
    std::printf("%-34s %9.0f MB/s  %5.2f of memcpy\n", name, rate, rate / memcpy_rate);
  };
  report("find_on_boundary (absent, exact)", [&] {
    sink = sink + (find_on_boundary(corpus.data(), corpus.data() + corpus.size(), "\xD6\xD0zz") != nullptr);
  });
  report("find_on_boundary (absent, folded)", [&] {
    sink = sink + (find_on_boundary(corpus.data(), corpus.data() + corpus.size(), "qqq", true) != nullptr);
  });
  report("TextBuilder append per line", [&] {
    TextBuilder builder;
    const char* p = corpus.data();
    const char* end = p + corpus.size();
    while (p < end) {
      const char* line_end = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      const char* next = line_end != nullptr ? line_end + 1 : end;
      builder.append(p, static_cast<std::size_t>(next - p));
      p = next;
    }
    sink = sink + builder.length();
  });
  return sink == 42 ? 1 : 0;
}

// A deterministic corpus of mixed GBK text for the benchmarks: Chinese sentences, ASCII words,
// digits, CRLF lines, runs of blank lines, full-width spaces and A3xx full-width forms.
#pragma once

#include <cstddef>
#include <string>

namespace quillet::bench {

std::string make_corpus(std::size_t bytes, unsigned seed = 1);

}  // namespace quillet::bench

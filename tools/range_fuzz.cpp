// Fuzzes the byte ranges with starts and lengths anywhere in the integers (their ends, zero and
// one either side most often), against the rule worked out in whole numbers of any size.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "text/fuzz_input.h"
#include "tools/regex_tools.h"

using namespace quillet;
using text::fuzzing::check;

namespace {

// Four bytes as an integer, or, when the first says so, one of the edges.
std::int32_t number_from(const std::string& bytes, std::size_t at, std::int64_t size) {
  unsigned char raw[4] = {};
  for (std::size_t i = 0; i < 4 && at + i < bytes.size(); ++i) raw[i] = static_cast<unsigned char>(bytes[at + i]);
  const std::int64_t edges[] = {INT32_MIN, INT32_MIN + 1, -size - 1, -size, -1, 0, 1, 2, size - 1, size, size + 1,
                                INT32_MAX - 1, INT32_MAX};
  if (raw[0] < 0x80) return static_cast<std::int32_t>(std::clamp<std::int64_t>(edges[raw[1] % 13], INT32_MIN, INT32_MAX));
  std::int32_t value = 0;
  std::memcpy(&value, raw, 4);
  return value;
}

std::string by_the_rule(const std::string& t, std::int64_t s, std::int64_t n, tools::RangeChoice choice) {
  const auto size = static_cast<std::int64_t>(t.size());
  if (choice == tools::RangeChoice::Keep) {
    if (s < 1 || s > size || n <= 0) return "";
    return t.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(std::min(n, size - s + 1)));
  }
  const std::int64_t before = std::clamp<std::int64_t>(s - 1, 0, size);
  const std::int64_t after = std::min(std::clamp<std::int64_t>(size - s - n + 1, 0, size), size - before);
  return t.substr(0, static_cast<std::size_t>(before)) + t.substr(static_cast<std::size_t>(size - after));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  text::fuzzing::Input input(data, size);
  const std::string numbers = input.next_text();
  std::string document = input.next_text();
  // A NUL is a byte of the document like any other.
  if (input.flag(0) && !document.empty()) document[document.size() / 2] = '\0';
  const auto length = static_cast<std::int64_t>(document.size());
  const std::int32_t start = number_from(numbers, 0, length), count = number_from(numbers, 4, length);
  for (const auto choice : {tools::RangeChoice::Keep, tools::RangeChoice::Delete}) {
    const std::string cut = tools::cut_range(document, start, count, choice);
    check(cut == by_the_rule(document, start, count, choice));
    check(cut.size() <= document.size());
  }
  return 0;
}

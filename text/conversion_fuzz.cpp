// Fuzzes the text side of the value conversions: ToInteger reads what atoi would read from the
// half-width text, and ToText/ToBytes of a text give its bytes back.
#include <climits>
#include <cstdlib>
#include <string>

#include "text/conversion.h"
#include "text/fuzz_input.h"
#include "text/text_test_support.h"
#include "text/literal_reference.h"

using namespace quillet::text;
using fuzzing::check;

namespace {

std::int32_t reference_atoi(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > (1ll << 32)) value = 1ll << 32;
  }
  value = negative ? -value : value;
  return static_cast<std::int32_t>(value < INT_MIN ? INT_MIN : (value > INT_MAX ? INT_MAX : value));
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Input input(data, size);
  const std::string text = input.next_text();
  const ValueRecord record = text_record(text.c_str());
  check(value_to_integer(record) == reference_atoi(literal::literal_half(text)));
  OwnedText copy(value_to_text(record));
  check(text.empty() ? copy == nullptr : text == copy.get());
  OwnedByteArray bytes(value_to_bytes(record));
  check(byte_array_size(bytes.get()) == text.size());
  return 0;
}

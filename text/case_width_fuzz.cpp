// Fuzzes case and width conversion against the literal algorithms, and the round trip of
// printable ASCII through full width and back.
#include <cstdlib>
#include <string>

#include "text/case_width.h"
#include "text/fuzz_input.h"
#include "text/text_test_support.h"
#include "text/literal_reference.h"

using namespace quillet::text;
using fuzzing::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Input input(data, size);
  const std::string text = input.next_text();

  const std::string upper = take_string(to_upper(text));
  check(upper == literal::literal_case(text, true));
  check(upper.size() == text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) check(upper[i] == text[i]);  // never a lead byte
  }
  check(take_string(to_lower(text)) == literal::literal_case(text, false));
  const std::string full = take_string(to_full_width(text));
  check(full == literal::literal_full(text));
  check(take_string(to_half_width(text)) == literal::literal_half(text));

  std::string printable;
  for (const char c : text) printable += static_cast<char>(0x20 + static_cast<unsigned char>(c) % 95);
  check(take_string(to_half_width(take_string(to_full_width(printable)))) == printable);
  return 0;
}

// Fuzzes the tools against their step-by-step references: the find tool from any selection in
// both directions and both case modes, the four conversions, the replace tools and the
// paragraph tools.
#include <cstdint>
#include <string>

#include "text/fuzz_input.h"
#include "text/literal_reference.h"
#include "tools/conversion.h"
#include "tools/find.h"
#include "tools/paragraphs.h"
#include "tools/reference.h"
#include "tools/replace.h"

using namespace quillet;
using text::fuzzing::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  text::fuzzing::Input input(data, size);
  const std::string document = input.next_text();
  const std::string needle = input.next_text();
  const std::string selection_bytes = input.next_text();

  // The selection from the third piece's first two bytes, so it can fall anywhere, past the
  // end and inside characters included.
  tools::ByteRange selection;
  if (!selection_bytes.empty()) selection.start = static_cast<unsigned char>(selection_bytes[0]);
  if (selection_bytes.size() > 1) selection.length = static_cast<unsigned char>(selection_bytes[1]) % 8;
  for (const auto direction : {tools::SearchDirection::Forward, tools::SearchDirection::Backward}) {
    const bool match_case = input.flag(0);
    const auto found = tools::find_next(document, needle, selection, direction, match_case);
    check(found == tools::reference::find_next(document, needle, selection, direction, match_case));
    if (found) check(*found + needle.size() <= document.size());
  }

  const std::string upper = tools::upper_case(document);
  check(upper == text::literal::literal_case(document, true));
  check(tools::lower_case(document) == text::literal::literal_case(document, false));
  check(tools::full_width(document) == text::literal::literal_full(document));
  check(tools::half_width(document) == text::literal::literal_half(document));

  // The second piece serves as find text and separator, the third as replacement.
  const bool match_case = input.flag(1);
  check(tools::replace_all(document, needle, selection_bytes, match_case) ==
        tools::reference::replace_all(document, needle, selection_bytes, match_case));
  check(tools::collapse_line_breaks(document) == tools::reference::collapse_line_breaks(document));
  check(tools::merge_paragraphs(document) == tools::reference::merge_paragraphs(document));
  check(tools::split_at(document, needle) == tools::reference::split_at(document, needle));
  const std::int32_t spaces = (input.flags >> 2) % 5 - 1;
  check(tools::indent_paragraphs(document, spaces) == tools::reference::indent_paragraphs(document, spaces));
  const auto which = static_cast<tools::SpacesToDelete>((input.flags >> 5) % 4);
  check(tools::delete_spaces(document, which) == tools::reference::delete_spaces(document, which));
  return 0;
}

// Fuzzes search, replace and split against the literal algorithms, plus properties that need
// no oracle: matches lie on character boundaries, replacing X by X changes nothing, split then
// join gives the text back.
#include <cstdlib>
#include <string>

#include "text/fuzz_input.h"
#include "text/text_test_support.h"
#include "text/literal_reference.h"
#include "text/search.h"

using namespace quillet::text;
using fuzzing::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::Input input(data, size);
  const std::string text = input.next_text();
  const std::string subtext = input.next_text();
  const std::string replacement = input.next_text();
  const auto start = input.small_number(0);
  const auto count = input.small_number(3);
  const bool fold = input.flag(6);
  const bool case_sensitive = input.flag(7);

  const std::int32_t found = find_text(text, subtext, start, fold);
  check(found == literal::literal_find(text, subtext, start, fold));
  if (found > 0 && !subtext.empty()) {
    check(static_cast<std::size_t>(found - 1) + subtext.size() <= text.size());
  }
  check(find_text_reverse(text, subtext, start, fold) == literal::literal_find_reverse(text, subtext, start, fold));

  const std::string replaced = take_string(replace_subtext(text, subtext, replacement, start, count, case_sensitive));
  check(replaced == literal::literal_replace(text, subtext, replacement, start, count, case_sensitive));
  const std::string same = take_string(replace_subtext(text, subtext, subtext, start, count, true));
  // Only the scan's drop of a lone lead byte at the very end may differ.
  check(same == text || (subtext.size() == 1 && !text.empty() && same + text.back() == text));

  OwnedBlockArray pieces(split_text(text, subtext, count));
  std::vector<std::string> parts;
  for (std::size_t i = 0; i < array_element_count(pieces.get()); ++i) {
    const char* piece = text_array_elements(pieces.get())[i];
    parts.push_back(piece != nullptr ? piece : "");
  }
  check(parts == literal::literal_split(text, subtext, count));
  if (!count && !subtext.empty() && !text.empty()) {
    std::string joined;
    for (std::size_t i = 0; i < parts.size(); ++i) joined += (i > 0 ? subtext : "") + parts[i];
    // Empty trailing pieces are not kept, so the text may end in separators the join lacks.
    check(text.compare(0, joined.size(), joined) == 0);
  }

  const std::string trimmed = take_string(trim_both(text));
  const std::string removed = take_string(remove_all_spaces(text));
  check(trimmed.size() <= text.size() && removed.size() <= text.size());
  check(take_string(remove_all_spaces(removed)) == removed);  // whole characters stay whole: nothing more to remove
  return 0;
}

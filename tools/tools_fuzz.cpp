// Fuzzes the tools against their step-by-step references: the find tool from any selection in
// both directions and both case modes, the four conversions, the replace tools and the
// paragraph tools, and the regex tools (replacing match texts in turn, extracting, byte ranges).
#include <cstdint>
#include <string>
#include <vector>

#include "text/fuzz_input.h"
#include "text/literal_reference.h"
#include "tools/conversion.h"
#include "tools/find.h"
#include "tools/paragraphs.h"
#include "text/regex.h"
#include "tools/reference.h"
#include "tools/regex_tools.h"
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

  // Text put before or after every paragraph: the second and third pieces as left and right.
  const auto placement = input.flag(7) ? tools::Placement::AfterParagraphs : tools::Placement::BeforeParagraphs;
  // Starts spread over all the integers, near both ends included.
  const auto first_number = static_cast<std::int32_t>(std::uint32_t{input.flags} * 16777259u);
  const auto inserted = tools::insert_in_paragraphs(document, placement, {needle, input.flag(6), first_number, selection_bytes});
  check(inserted && *inserted == tools::reference::insert_in_paragraphs(document, placement, needle, input.flag(6),
                                                                       first_number, selection_bytes));

  // Replacing in turn: find texts cut from the document at places the flags choose, and from
  // the second piece; the start of the third piece is the replacement. (Kept short, with a
  // short document: a replacement that holds its find text doubles the document every turn,
  // and the literal loop that checks the result has no bound.)
  const std::string with = selection_bytes.substr(0, 3);
  if (document.size() > 512) return 0;
  std::vector<std::string> finds;
  for (std::size_t i = 0; i < needle.size() && i < 6; ++i) {
    const std::size_t at = static_cast<unsigned char>(needle[i]) % (document.size() + 1);
    finds.push_back(document.substr(at, 1 + i % 3));
  }
  finds.push_back(needle);
  const std::vector<std::string_view> views(finds.begin(), finds.end());
  // Small bounds: the literal loop that checks a result is slow, and a replacement that holds its
  // find text would otherwise take the work to its full bound (seconds here) before giving up.
  const tools::InTurnBounds bounds{std::uint64_t{1} << 24, std::uint64_t{1} << 16};
  const auto in_turn = tools::replace_each_in_turn(document, views, with, match_case, bounds);
  if (in_turn) check(*in_turn == tools::reference::replace_each_in_turn(document, finds, with, match_case));

  // The second piece as a pattern.
  const text::RegexMatches matches = text::find_all_matches(needle, match_case, document);
  if (matches.complete && matches.spans.size() <= 64) {
    std::vector<std::string> texts;
    for (const text::MatchSpan& span : matches.spans) texts.push_back(document.substr(span.start, span.length));
    const auto replaced = tools::regex_replace(document, needle, with, match_case, bounds);
    if (replaced) check(*replaced == tools::reference::replace_each_in_turn(document, texts, with, match_case));
    std::string listed;
    for (const std::string& text : texts) listed += text + "\r\n";
    check(tools::regex_extract(document, needle, match_case) == listed);
  }
  const std::int32_t start = static_cast<std::int32_t>(input.flags) - 100;
  const std::int32_t length = static_cast<std::int32_t>(needle.size()) - 2;
  const std::string kept = tools::cut_range(document, start, length, tools::RangeChoice::Keep);
  const std::string deleted = tools::cut_range(document, start, length, tools::RangeChoice::Delete);
  check(kept.size() <= document.size() && deleted.size() <= document.size());
  return 0;
}

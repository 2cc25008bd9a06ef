// The paragraph tools: split the document at a separator, indent every paragraph, delete
// spaces; and the walk over pieces and paragraphs that the tools of several menus share.
//
// A paragraph is a piece of the document cut at every "\r\n": pieces between two adjacent
// line breaks are empty paragraphs and count; a final "\r\n" leaves no empty paragraph after
// it; an empty document has none. A tool that works per paragraph writes each processed
// paragraph followed by "\r\n", so its result ends with one (unless there were no
// paragraphs). A lone CR or LF is an ordinary byte inside a paragraph.
//
// Double-byte contract: separators and line breaks are found only where a character starts,
// scanning from the start of the document and again from just after each one found; they are
// compared byte for byte. A lone lead byte at the very end belongs to the last piece. Spaces are
// 0x20 and the full-width space A1 A1, found at character boundaries only. A NUL is an ordinary
// byte. The tools that can make the document grow work out the size of their result first and
// refuse (none) one larger than largest (kLargestDocument unless told, tools/limits.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/scan.h"
#include "tools/limits.h"

namespace quillet::tools {

inline constexpr std::string_view kLineBreak = "\r\n";

// Calls visit(piece) for every piece of text cut at the (non-empty) separator, in order, as
// views into text.
template <class Visit>
void for_each_piece(std::string_view text, std::string_view separator, Visit&& visit) {
  if (text.empty()) return;
  const char* end = text.data() + text.size();
  const char* piece = text.data();
  const auto cut = [&](const char* found) {
    visit(std::string_view(piece, static_cast<std::size_t>(found - piece)));
    piece = found + separator.size();
  };
  if (separator == kLineBreak) {
    // Line breaks are ASCII: after one, a scan that starts afresh sees the characters a scan
    // from the start sees, so they can all be found in one go.
    text::LineBreaks breaks(piece, end);
    for (const char* found = breaks.next(piece); found != nullptr; found = breaks.next(piece)) cut(found);
  } else {
    text::SubtextFinder finder(piece, end, separator, false);
    for (const char* found = finder.next(piece); found != nullptr; found = finder.next(piece)) {
      cut(found);
      finder.restart(piece);
    }
  }
  if (piece != end) visit(std::string_view(piece, static_cast<std::size_t>(end - piece)));
}

template <class Visit>
void for_each_paragraph(std::string_view text, Visit&& visit) {
  for_each_piece(text, kLineBreak, visit);
}

// Every occurrence of the separator becomes a line break and the result ends with one; an
// empty separator only appends the line break.
std::optional<std::string> split_at(std::string_view document, std::string_view separator,
                                    std::uint64_t largest = kLargestDocument);

// Every space of the document removed, then every paragraph preceded by the number of ASCII
// spaces (none for a number below 1).
std::optional<std::string> indent_paragraphs(std::string_view document, std::int32_t spaces,
                                             std::uint64_t largest = kLargestDocument);

enum class SpacesToDelete { Leading, Trailing, BothEnds, All };
// Leading, Trailing and BothEnds trim every paragraph (a trailing cut also drops a lone lead
// byte at the end of the document); All removes every space and keeps the line breaks as they
// are, adding none.
std::string delete_spaces(std::string_view document, SpacesToDelete which);

}  // namespace quillet::tools

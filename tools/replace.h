// The replace tools: replace every occurrence of a text, replace the text around a separator
// (line break or tab), many line breaks to one, and every paragraph merged into one.
//
// Double-byte contract: occurrences are found left to right without overlap, only where a
// character starts, scanning from the start of the document and again from just after each
// one replaced; the replacement is inserted as it stands. Without match case, the ASCII letters
// A-Z and a-z compare equal wherever they stand; otherwise bytes must be equal. Line breaks
// are "\r\n" found at character boundaries; a lone CR or LF is an ordinary byte, and so is a
// NUL. A replacement longer than its find text makes the document grow: its size is worked out
// first, and a result larger than largest (kLargestDocument unless told, tools/limits.h) is
// refused (none), so the caller leaves the document as it is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/limits.h"

namespace quillet::tools {

// An empty find text changes nothing.
std::optional<std::string> replace_all(std::string_view document, std::string_view find, std::string_view replacement,
                                       bool match_case, std::uint64_t largest = kLargestDocument);

inline constexpr std::string_view kTab = "\t";

// The text around a separator: the search text is find_before, the separator when
// separator_in_find, and find_after; the replacement is built the same way.
struct AroundSeparator {
  std::string_view separator;
  std::string_view find_before;
  bool separator_in_find = true;
  std::string_view find_after;
  std::string_view replace_before;
  bool separator_in_replacement = true;
  std::string_view replace_after;
  bool match_case = false;
};
std::optional<std::string> replace_around_separator(std::string_view document, const AroundSeparator& context);

// Every run of consecutive line breaks becomes one line break.
std::string collapse_line_breaks(std::string_view document);

// Every line break removed: the paragraphs joined with nothing between them.
std::string merge_paragraphs(std::string_view document);

}  // namespace quillet::tools

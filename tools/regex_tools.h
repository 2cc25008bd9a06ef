// The regex dialog's tools: replace the text of every match of a pattern, extract the matches,
// and keep or delete a byte range.
//
// Matches are found as the regex facility finds them (Perl syntax; the library sees every byte
// as a character, so "." or a class can match half of a double-byte character). Replacement
// then works as the text commands do: for every match in order, every occurrence of that
// match's text in the document as it stands is replaced, left to right without overlap and
// only where a character starts (Double-byte contract of the replace tools); the replacement
// is inserted as it stands. Byte ranges count bytes and may cut a character in two. A NUL is an
// ordinary byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/limits.h"

namespace quillet::tools {

// How far replacing in turn may go before it gives up: the bytes its literal passes may scan (a
// few seconds' worth), and the size of the document it may make.
struct InTurnBounds {
  std::uint64_t work = std::uint64_t{3} << 30;
  std::uint64_t size = kLargestDocument;
};

// For each find text in order, every occurrence in the document as it stands replaced (empty
// find texts change nothing). None when the work or the result would pass the bounds (by
// default, the result larger than kLargestDocument, tools/limits.h); the caller then leaves the
// document as it is.
std::optional<std::string> replace_each_in_turn(std::string_view document, const std::vector<std::string_view>& finds,
                                                std::string_view replacement, bool match_case,
                                                const InTurnBounds& bounds = {});

// The text of every match, replaced in turn. None when the search gave up on the pattern's
// complexity (or the replacing on its work or size): the document must stay as it is. A pattern that
// does not compile finds nothing.
std::optional<std::string> regex_replace(std::string_view document, std::string_view pattern,
                                         std::string_view replacement, bool match_case, const InTurnBounds& bounds = {});

// The matches, each followed by "\r\n", in the order found (an empty match gives a lone line
// break). None when the search gave up, or the list would be larger than largest; a pattern that
// does not compile gives the empty text.
std::optional<std::string> regex_extract(std::string_view document, std::string_view pattern, bool match_case,
                                         std::uint64_t largest = kLargestDocument);

// The bytes from start (1-based) for length bytes kept, or deleted. Deleting keeps the first
// start - 1 bytes and the last size - start - length + 1, each count cut to [0, size] (so that
// the two never overlap: a negative length deletes nothing); keeping takes the bytes from start
// on, cut at the end, and nothing for a start outside the document or a length below 1. Worked
// out in 64 bits: no start or length, however extreme, can overflow.
enum class RangeChoice { Delete, Keep };
std::string cut_range(std::string_view document, std::int32_t start, std::int32_t length, RangeChoice choice);

}  // namespace quillet::tools

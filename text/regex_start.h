// Which bytes can begin a match of a pattern (Perl syntax, as the regex facility compiles it),
// read from the pattern's text. A search can then skip to those bytes before it asks the
// regular-expression library to match, which otherwise tries every position.
//
// The answer is a superset: any byte that can begin a match is in it. Only the shapes that are
// easy to read with certainty are read (literals, escapes of one byte, classes, \d \w \s, the
// dot, groups and alternatives of these, with quantifiers that cannot make them optional);
// anything else, and every pattern that can match the empty text or starts with an assertion,
// gives no answer. Bytes count one by one, as the library sees them: a double-byte character
// in a pattern begins with its lead byte.
#pragma once

#include <bitset>
#include <optional>
#include <string_view>

namespace quillet::text {

using ByteSet = std::bitset<256>;

std::optional<ByteSet> match_start_bytes(std::string_view pattern, bool case_sensitive);

}  // namespace quillet::text

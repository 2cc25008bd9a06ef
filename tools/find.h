// The find tool: where the next match of a text lies, seen from the document's selection.
//
// Forward, the search begins at the first byte after the selection and takes the first match
// that starts there or later. Backward, it takes the last match that ends at or before the
// selection's start (nothing when the selection starts at 0). There is no wrap-around.
//
// Double-byte contract: match positions are tried only at character boundaries, stepping one
// or two bytes from where the scan begins (the document's start backward, the search position
// forward), so a text made of a trail byte and the next byte is never found across a character
// boundary. A lead byte at the very end ends the scan. Without match case, the ASCII letters
// A-Z and a-z compare equal wherever they stand; otherwise bytes must be equal. Positions and
// lengths count bytes from 0, in the full width of size_t. A NUL is an ordinary byte.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillet::tools {

enum class SearchDirection { Forward, Backward };

struct ByteRange {
  std::size_t start = 0;
  std::size_t length = 0;
};

// The match's first byte, or none (always none for an empty text).
std::optional<std::size_t> find_next(std::string_view document, std::string_view text, ByteRange selection,
                                     SearchDirection direction, bool match_case);

}  // namespace quillet::tools

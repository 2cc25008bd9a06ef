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
#include <cstdint>
#include <optional>
#include <string>
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

// Every match of a (non-empty) text, forward from match to match as find_next walks them
// (each search beginning just after the match before), over an input of any size that
// arrives in pieces: the same matches as over the whole input, at 64-bit positions.
class MatchesInPieces {
 public:
  MatchesInPieces(std::string_view text, bool match_case) : text_(text), match_case_(match_case) {}
  // bytes: what has arrived and is not yet done with, starting where a character starts; at_end:
  // nothing follows them. Calls found(position) for each match found, the 0-based position in
  // the whole input. Answers how many bytes from the front are done with; the rest must come
  // again in front of the next piece (at the end, all are).
  template <class Found>
  std::size_t feed(std::string_view bytes, bool at_end, Found&& found) {
    std::size_t origin = 0;  // where the scan begins: the front, or just after a match
    for (std::size_t match; (match = next_match(bytes, origin)) != kNone; origin = match + text_.size()) {
      found(done_ + match);
    }
    const std::size_t taken = at_end ? bytes.size() : done_with(bytes, origin);
    done_ += taken;
    return taken;
  }

 private:
  static constexpr std::size_t kNone = ~std::size_t{0};
  // The first match from origin that lies whole in bytes.
  std::size_t next_match(std::string_view bytes, std::size_t origin) const;
  // How far a scan from origin has looked at every place a match could start.
  std::size_t done_with(std::string_view bytes, std::size_t origin) const;

  std::string text_;
  bool match_case_;
  std::uint64_t done_ = 0;
};

}  // namespace quillet::tools

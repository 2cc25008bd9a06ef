#include "tools/find.h"

#include <algorithm>

#include "text/scan.h"

namespace quillet::tools {

// Positions stay byte offsets of the whole width of size_t: a document of any size is searched
// from any place in it.
std::optional<std::size_t> find_next(std::string_view document, std::string_view text, ByteRange selection,
                                     SearchDirection direction, bool match_case) {
  if (text.empty()) return std::nullopt;
  const char* begin = document.data();
  const char* end = begin + document.size();
  const bool ignore_case = !match_case;
  if (direction == SearchDirection::Forward) {
    // From the first byte after the selection, whose characters are seen from there.
    const std::size_t from = selection.start + std::min(selection.length, document.size());
    if (selection.start >= document.size() || from >= document.size()) return std::nullopt;
    const char* found = text::find_on_boundary(begin + from, end, text, ignore_case);
    if (found == nullptr) return std::nullopt;
    return static_cast<std::size_t>(found - begin);
  }
  // Every match that ends by the selection's start counts, overlapping ones included; the last
  // one wins.
  const std::size_t region = std::min(selection.start, document.size());
  if (region == 0) return std::nullopt;
  text::SubtextFinder finder(begin, begin + region, text, ignore_case);
  const char* last = nullptr;
  for (const char* found = finder.next(begin); found != nullptr; found = finder.next(found + 1)) last = found;
  if (last == nullptr) return std::nullopt;
  return static_cast<std::size_t>(last - begin);
}

// Whether a place starts a character depends on the bytes before it only, so a match that lies
// whole in what has arrived is a match of the whole input, at its end or not.
std::size_t MatchesInPieces::next_match(std::string_view bytes, std::size_t origin) const {
  if (text_.empty() || origin >= bytes.size()) return kNone;
  const char* found = text::find_on_boundary(bytes.data() + origin, bytes.data() + bytes.size(), text_, !match_case_);
  return found != nullptr ? static_cast<std::size_t>(found - bytes.data()) : kNone;
}

std::size_t MatchesInPieces::done_with(std::string_view bytes, std::size_t origin) const {
  // Every place up to the last text-length of the bytes has been tried; the piece ends at a
  // character boundary, seen from the origin, at or before the first place not tried.
  if (bytes.size() < text_.size() || bytes.size() - text_.size() + 1 <= origin) return std::min(origin, bytes.size());
  const std::size_t untried = bytes.size() - text_.size() + 1;
  return text::is_boundary_from(bytes.data() + origin, bytes.data() + untried) ? untried : untried - 1;
}

}  // namespace quillet::tools

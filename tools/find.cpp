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

}  // namespace quillet::tools

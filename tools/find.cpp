#include "tools/find.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "text/search.h"

namespace quillet::tools {

std::optional<std::size_t> find_next(std::string_view document, std::string_view text, ByteRange selection,
                                     SearchDirection direction, bool match_case) {
  if (text.empty()) return std::nullopt;
  // The search position p is 1-based: the selection's start + 1, and forward past the selection.
  std::uint64_t position = static_cast<std::uint64_t>(selection.start) + 1;
  if (direction == SearchDirection::Forward) position += selection.length;
  const auto start = static_cast<std::int32_t>(
      std::min<std::uint64_t>(position, static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())));
  const bool ignore_case = !match_case;
  const std::int32_t found = direction == SearchDirection::Forward
                                 ? text::find_text(document, text, start, ignore_case)
                                 : text::find_text_reverse(document, text, start, ignore_case);
  if (found < 1) return std::nullopt;
  return static_cast<std::size_t>(found - 1);
}

}  // namespace quillet::tools

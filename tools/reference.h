// The tools written out the obvious way, one step at a time, as the oracle for the tests and
// the fuzz harness: slow, but easy to check against the rules in the tools' headers.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/find.h"

namespace quillet::tools::reference {

inline bool same_bytes(std::string_view a, std::string_view b, bool match_case) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (!match_case) {
      if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
      if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    }
    if (x != y) return false;
  }
  return true;
}

// Every place a character starts when stepping from origin; a lead byte in the last byte is
// the last place.
inline std::vector<std::size_t> character_starts(std::string_view document, std::size_t origin) {
  std::vector<std::size_t> starts;
  for (std::size_t p = origin; p < document.size();) {
    starts.push_back(p);
    if (static_cast<unsigned char>(document[p]) < 0x80) {
      p += 1;
    } else if (p + 1 < document.size()) {
      p += 2;
    } else {
      break;
    }
  }
  return starts;
}

inline std::optional<std::size_t> find_next(std::string_view document, std::string_view text, ByteRange selection,
                                            SearchDirection direction, bool match_case) {
  if (text.empty()) return std::nullopt;
  const auto matches_at = [&](std::size_t p) {
    return p + text.size() <= document.size() && same_bytes(document.substr(p, text.size()), text, match_case);
  };
  if (direction == SearchDirection::Forward) {
    for (const std::size_t p : character_starts(document, selection.start + selection.length)) {
      if (matches_at(p)) return p;
    }
    return std::nullopt;
  }
  std::optional<std::size_t> last;
  for (const std::size_t p : character_starts(document, 0)) {
    if (p + text.size() <= selection.start && matches_at(p)) last = p;
  }
  return last;
}

}  // namespace quillet::tools::reference

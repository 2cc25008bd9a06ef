// The tools written out the obvious way, one step at a time, as the oracle for the tests and
// the fuzz harness: slow, but easy to check against the rules in the tools' headers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/conversion.h"
#include "text/literal_reference.h"
#include "tools/find.h"
#include "tools/generators.h"
#include "tools/paragraphs.h"
#include "tools/replace.h"

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

// The character walks of the space commands, as their rules read.
inline std::string remove_all_spaces(const std::string& t) {
  std::string out;
  for (std::size_t p = 0; p < t.size();) {
    const auto b = static_cast<unsigned char>(t[p]);
    if (b < 0x80) {
      if (b != ' ') out += t[p];
      p += 1;
    } else if (p + 1 < t.size()) {
      if (!(b == 0xA1 && static_cast<unsigned char>(t[p + 1]) == 0xA1)) out += t.substr(p, 2);
      p += 2;
    } else {
      p += 1;  // a lone lead byte at the end is dropped
    }
  }
  return out;
}

inline bool space_at(const std::string& t, std::size_t p, std::size_t& width) {
  if (t[p] == ' ') return (width = 1), true;
  if (p + 1 < t.size() && static_cast<unsigned char>(t[p]) == 0xA1 && static_cast<unsigned char>(t[p + 1]) == 0xA1) {
    return (width = 2), true;
  }
  return false;
}

inline std::string trim_leading(const std::string& t) {
  std::size_t p = 0, width = 0;
  while (p < t.size() && space_at(t, p, width)) p += width;
  return t.substr(p);
}

inline std::string trim_trailing(const std::string& t) {
  std::size_t run = std::string::npos, p = 0, width = 0;
  for (; p < t.size();) {
    if (static_cast<unsigned char>(t[p]) >= 0x80 && p + 1 >= t.size()) {
      return t.substr(0, p);  // the lone lead byte goes; spaces before it stay
    }
    if (space_at(t, p, width)) {
      if (run == std::string::npos) run = p;
      p += width;
    } else {
      run = std::string::npos;
      p += static_cast<unsigned char>(t[p]) >= 0x80 ? 2 : 1;
    }
  }
  return run == std::string::npos ? t : t.substr(0, run);
}

// The editor's steps as they were first written: each through the text commands' literal
// walks, paragraphs by splitting at "\r\n".
inline std::string paragraphs_rebuilt(const std::string& t, const std::function<std::string(const std::string&)>& line) {
  std::string out;
  for (const std::string& paragraph : text::literal::literal_split(t, "\r\n", std::nullopt)) out += line(paragraph) + "\r\n";
  return out;
}

inline std::string replace_all(const std::string& t, const std::string& find, const std::string& with, bool match_case) {
  return text::literal::literal_replace(t, find, with, std::nullopt, std::nullopt, match_case);
}

// Replace the pairs of line breaks until there are none: the document written back once per
// pass.
inline std::string collapse_line_breaks(std::string t) {
  while (text::literal::literal_find(t, "\r\n\r\n", std::nullopt, false) != -1) {
    t = replace_all(t, "\r\n\r\n", "\r\n", false);
  }
  return t;
}

inline std::string merge_paragraphs(const std::string& t) {
  std::string out;
  for (const std::string& paragraph : text::literal::literal_split(t, "\r\n", std::nullopt)) out += paragraph;
  return out;
}

inline std::string split_at(const std::string& t, const std::string& separator) {
  std::string out;
  for (const std::string& piece : text::literal::literal_split(t, separator, std::nullopt)) out += piece + "\r\n";
  return out;
}

inline std::string indent_paragraphs(const std::string& t, std::int32_t spaces) {
  const std::string pad(spaces > 0 ? static_cast<std::size_t>(spaces) : 0, ' ');
  return paragraphs_rebuilt(remove_all_spaces(t), [&](const std::string& p) { return pad + p; });
}

inline std::string delete_spaces(const std::string& t, SpacesToDelete which) {
  switch (which) {
    case SpacesToDelete::All: return remove_all_spaces(t);
    case SpacesToDelete::Leading: return paragraphs_rebuilt(t, trim_leading);
    case SpacesToDelete::Trailing: return paragraphs_rebuilt(t, trim_trailing);
    default: return paragraphs_rebuilt(t, [](const std::string& p) { return trim_trailing(trim_leading(p)); });
  }
}

// For each find text in turn, every occurrence replaced: the document read back and written
// again once per find text.
inline std::string replace_each_in_turn(std::string t, const std::vector<std::string>& finds, const std::string& with,
                                        bool match_case) {
  for (const std::string& find : finds) t = replace_all(t, find, with, match_case);
  return t;
}

// Left text, the running number as ToText writes the double start + i - 1, right text, put
// before or after every paragraph.
inline std::string insert_in_paragraphs(const std::string& t, Placement placement, const std::string& left,
                                        bool numbered, std::int32_t start, const std::string& right) {
  double number = start;
  return paragraphs_rebuilt(t, [&](const std::string& paragraph) {
    std::string parts = left;
    if (numbered) parts += text::call::to_text(number).get();
    number += 1;
    parts += right;
    return placement == Placement::BeforeParagraphs ? parts + paragraph : paragraph + parts;
  });
}

}  // namespace quillet::tools::reference

// The text commands' algorithms written out literally, one character at a time, as the oracle
// for the tests and the fuzz harnesses of the fast versions.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "text/text_value.h"

namespace quillet::text::literal {

using Opt = std::optional<std::int32_t>;

inline bool match_at(const std::string& t, std::size_t p, const std::string& s, bool fold) {
  return fold ? equal_folded(t.data() + p, s.data(), s.size()) : t.compare(p, s.size(), s) == 0;
}

// Steps from p; false when a lead byte before the end stops the scan.
inline bool step(const std::string& t, std::size_t& p, std::size_t end) {
  if (!is_lead_byte(t[p])) {
    ++p;
    return true;
  }
  if (p + 1 >= end) return false;
  p += 2;
  return true;
}

// Each text folded on its own, character by character (A-Z of single-byte characters onto a-z),
// then compared as unsigned bytes; shorter before longer when one begins the other.
inline std::string literal_fold(const std::string& t) {
  std::string folded;
  for (std::size_t p = 0; p < t.size();) {
    if (is_lead_byte(t[p])) {
      folded += t.substr(p, 2);
      p += 2;
    } else {
      const char c = t[p++];
      folded += c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    }
  }
  return folded;
}

inline int literal_compare(const std::string& a, const std::string& b, bool case_sensitive) {
  return case_sensitive ? a.compare(b) : literal_fold(a).compare(literal_fold(b));
}

inline std::int32_t literal_find(const std::string& t, const std::string& s, Opt start, bool fold) {
  std::int64_t b = start ? std::max<std::int64_t>(std::int64_t{*start} - 1, 0) : 0;
  const bool empty_region = b >= static_cast<std::int64_t>(t.size());
  if (s.empty()) return empty_region ? -1 : 1;
  if (empty_region) return -1;
  for (std::size_t p = static_cast<std::size_t>(b); t.size() - p >= s.size();) {
    if (match_at(t, p, s, fold)) return static_cast<std::int32_t>(p + 1);
    if (!step(t, p, t.size())) break;
  }
  return -1;
}

inline std::int32_t literal_find_reverse(const std::string& t, const std::string& s, Opt start, bool fold) {
  const std::int64_t b = start ? std::int64_t{*start} - 1 : static_cast<std::int64_t>(t.size());
  if (b <= 0) return -1;
  const std::size_t region = static_cast<std::size_t>(std::min<std::int64_t>(b, static_cast<std::int64_t>(t.size())));
  if (s.empty()) return region > 0 ? 1 : -1;
  std::int32_t last = -1;
  for (std::size_t p = 0; p < region && region - p >= s.size();) {
    if (match_at(t, p, s, fold)) last = static_cast<std::int32_t>(p + 1);
    if (!step(t, p, t.size())) break;
  }
  return last;
}

inline std::string literal_replace(const std::string& t, const std::string& s, const std::string& r, Opt start, Opt count,
                            bool case_sensitive) {
  const std::int64_t skip = start ? std::max<std::int64_t>(std::int64_t{*start} - 1, 0) : 0;
  std::int32_t k = count.value_or(-1);
  if (t.empty() || s.empty() || skip >= static_cast<std::int64_t>(t.size()) || k == 0) return t;
  std::string out = t.substr(0, static_cast<std::size_t>(skip));
  std::size_t p = static_cast<std::size_t>(skip);
  while (t.size() - p >= s.size()) {
    if (match_at(t, p, s, !case_sensitive)) {
      out += r;
      p += s.size();
      if (k != -1) {
        if (k == 1) break;
        --k;
      }
      continue;
    }
    if (is_lead_byte(t[p])) {
      if (p + 1 >= t.size()) return out;  // the lone lead byte is dropped
      out += t.substr(p, 2);
      p += 2;
    } else {
      out += t[p++];
    }
  }
  return out + t.substr(p);
}

inline std::vector<std::string> literal_split(const std::string& t, const std::string& sep, Opt max) {
  const std::int32_t k = max ? std::max(*max, 0) : -1;
  if (t.empty() || k == 0) return {};
  if (sep.empty()) return {t};
  std::vector<std::string> out;
  std::size_t piece = 0, p = 0;
  while (t.size() - p >= sep.size()) {
    if (t.compare(p, sep.size(), sep) == 0) {
      out.push_back(t.substr(piece, p - piece));
      p = piece = p + sep.size();
      if (k != -1 && static_cast<std::int32_t>(out.size()) == k) return out;
      continue;
    }
    if (!step(t, p, t.size())) break;
  }
  if (piece < t.size()) out.push_back(t.substr(piece));
  return out;
}

// Literal character walks, as the oracle for the fast versions.
inline std::string literal_case(const std::string& t, bool upper) {
  std::string out = t;
  for (std::size_t p = 0; p < out.size();) {
    const auto b = static_cast<unsigned char>(out[p]);
    if (b >= 0x80) {
      p += 2;
      continue;
    }
    if (upper && b >= 'a' && b <= 'z') out[p] = static_cast<char>(b - 0x20);
    if (!upper && b >= 'A' && b <= 'Z') out[p] = static_cast<char>(b + 0x20);
    ++p;
  }
  return out;
}

inline std::string literal_full(const std::string& t) {
  std::string out;
  for (std::size_t p = 0; p < t.size(); ++p) {
    const auto b = static_cast<unsigned char>(t[p]);
    if (b >= 0x80) {
      if (p + 1 >= t.size()) break;
      out += t.substr(p++, 2);
    } else if (b == 0x20) {
      out += "\xA1\xA1";
    } else if (b == 0x7E) {
      out += "\xA1\xAB";
    } else if (b >= 0x21 && b <= 0x7D) {
      out += '\xA3';
      out += static_cast<char>(b + 0x80);
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

inline std::string literal_half(const std::string& t) {
  std::string out;
  for (std::size_t p = 0; p < t.size(); ++p) {
    const auto b = static_cast<unsigned char>(t[p]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      continue;
    }
    if (p + 1 >= t.size()) break;
    const auto trail = static_cast<unsigned char>(t[++p]);
    if (b == 0xA1 && trail == 0xA1) out += ' ';
    else if (b == 0xA1 && trail == 0xAB) out += '~';
    else if (b == 0xA1 && (trail == 0xEE || trail == 0xEF)) out += '*';
    else if (b == 0xA3 && trail >= 0xA1 && trail <= 0xFE) out += static_cast<char>(trail - 0x80);
    else out += std::string{static_cast<char>(b), static_cast<char>(trail)};
  }
  return out;
}

}  // namespace quillet::text::literal

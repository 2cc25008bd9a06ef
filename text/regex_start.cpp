#include "text/regex_start.h"

#include <algorithm>
#include <cstddef>

namespace quillet::text {
namespace {

ByteSet range(int first, int last) {
  ByteSet set;
  for (int b = first; b <= last; ++b) set.set(static_cast<std::size_t>(b));
  return set;
}

// The classes as the library may read them in any code page: \w and \s may hold bytes of
// 0x80 and above there, so those are all counted in.
ByteSet digits() { return range('0', '9') | range(0x80, 0xFF); }
ByteSet word_bytes() { return range('0', '9') | range('A', 'Z') | range('a', 'z') | range('_', '_') | range(0x80, 0xFF); }
ByteSet space_bytes() { return range('\t', '\r') | range(' ', ' ') | range(0x80, 0xFF); }
ByteSet all_bytes() { return range(0, 0xFF); }

// The byte in the other case when it is a letter of the case that shift moves away from.
int fold(unsigned char byte, int shift) {
  if (shift > 0 && byte >= 'A' && byte <= 'Z') return byte + shift;
  if (shift < 0 && byte >= 'a' && byte <= 'z') return byte + shift;
  return byte;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One byte or one class inside or outside brackets, after a backslash.
struct Escaped {
  bool known = false;
  bool is_byte = false;
  unsigned char byte = 0;
  ByteSet set;
};

class StartReader {
 public:
  StartReader(std::string_view pattern, bool case_sensitive) : p_(pattern), case_sensitive_(case_sensitive) {}

  std::optional<ByteSet> whole() {
    std::size_t at = 0;
    std::optional<ByteSet> set = alternatives(at, false);
    if (!set || at != p_.size() || set->none()) return std::nullopt;
    return set;
  }

 private:
  bool at_end(std::size_t at) const { return at >= p_.size(); }

  // The alternatives from at to the end of the pattern, or of the group (at is left on its ")").
  std::optional<ByteSet> alternatives(std::size_t& at, bool in_group) {
    ByteSet all;
    for (;;) {
      const std::optional<ByteSet> first = alternative_start(at);
      if (!first) return std::nullopt;
      all |= *first;
      while (!at_end(at) && p_[at] != '|' && p_[at] != ')') {
        if (!skip_atom(at)) return std::nullopt;
      }
      if (at_end(at)) return in_group ? std::nullopt : std::optional<ByteSet>(all);
      if (p_[at] == ')') return in_group ? std::optional<ByteSet>(all) : std::nullopt;
      ++at;  // the "|"
    }
  }

  // The first atom of an alternative, when a quantifier cannot make it optional.
  std::optional<ByteSet> alternative_start(std::size_t& at) {
    if (at_end(at) || p_[at] == '|' || p_[at] == ')') return std::nullopt;  // the empty alternative
    const std::optional<ByteSet> set = atom_start(at);
    if (!set || at_end(at)) return set;
    switch (p_[at]) {
      case '*':
      case '?':
        return std::nullopt;
      case '{': {
        std::size_t digits_at = at + 1;
        int minimum = 0;
        bool any = false;
        while (!at_end(digits_at) && p_[digits_at] >= '0' && p_[digits_at] <= '9' && minimum < 100000) {
          minimum = minimum * 10 + (p_[digits_at++] - '0');
          any = true;
        }
        if (!any || minimum == 0) return std::nullopt;
        return set;
      }
      default:
        return set;
    }
  }

  std::optional<ByteSet> atom_start(std::size_t& at) {
    const char c = p_[at];
    switch (c) {
      case '\\': {
        const Escaped escaped = escape(at);
        if (!escaped.known) return std::nullopt;
        return escaped.is_byte ? byte_set(escaped.byte) : escaped.set;
      }
      case '[':
        return bracket(at);
      case '(':
        return group(at);
      case '.':
        ++at;
        return all_bytes();
      case '^': case '$': case '*': case '+': case '?': case '{': case '|': case ')':
        return std::nullopt;
      default:
        ++at;
        return byte_set(static_cast<unsigned char>(c));
    }
  }

  static ByteSet byte_set(unsigned char byte) {
    ByteSet set;
    set.set(byte);
    return set;
  }

  // at is on the backslash; leaves it after the escape.
  Escaped escape(std::size_t& at) {
    Escaped out;
    if (at + 1 >= p_.size()) return out;
    const char e = p_[at + 1];
    at += 2;
    out.known = true;
    switch (e) {
      case 'd': out.set = digits(); return out;
      case 'w': out.set = word_bytes(); return out;
      case 's': out.set = space_bytes(); return out;
      case 'D': case 'W': case 'S': out.set = all_bytes(); return out;
      case 't': out.is_byte = true, out.byte = '\t'; return out;
      case 'n': out.is_byte = true, out.byte = '\n'; return out;
      case 'r': out.is_byte = true, out.byte = '\r'; return out;
      case 'f': out.is_byte = true, out.byte = '\f'; return out;
      case 'e': out.is_byte = true, out.byte = 0x1B; return out;
      case 'a': out.is_byte = true, out.byte = 0x07; return out;
      case 'x': {
        int value = 0, count = 0;
        while (count < 2 && !at_end(at) && hex_value(p_[at]) >= 0) value = value * 16 + hex_value(p_[at++]), ++count;
        if (count == 0) out.known = false;
        out.is_byte = true, out.byte = static_cast<unsigned char>(value);
        return out;
      }
      default:
        break;
    }
    // Every other letter or digit is an assertion, a reference, a property, a quote or a code
    // this reader does not know, and so are the four buffer and word anchors written with
    // punctuation; any other byte stands for itself.
    if ((e >= 'a' && e <= 'z') || (e >= 'A' && e <= 'Z') || (e >= '0' && e <= '9') || e == '`' || e == '\'' || e == '<' ||
        e == '>') {
      out.known = false;
      return out;
    }
    out.is_byte = true, out.byte = static_cast<unsigned char>(e);
    return out;
  }

  // One member of a bracket: a byte or a class.
  Escaped member(std::size_t& at) {
    if (p_[at] == '\\') return escape(at);
    if (p_[at] == '[' && at + 1 < p_.size() && (p_[at + 1] == ':' || p_[at + 1] == '.' || p_[at + 1] == '=')) {
      return {};  // a named class, collating element or equivalence class
    }
    Escaped out;
    out.known = out.is_byte = true;
    out.byte = static_cast<unsigned char>(p_[at++]);
    return out;
  }

  std::optional<ByteSet> bracket(std::size_t& at) {
    ++at;
    const bool negated = !at_end(at) && p_[at] == '^';
    if (negated) ++at;
    ByteSet set;
    bool first = true;
    for (;;) {
      if (at_end(at)) return std::nullopt;
      if (p_[at] == ']' && !first) {
        ++at;
        break;
      }
      first = false;
      const Escaped low = member(at);
      if (!low.known) return std::nullopt;
      if (!low.is_byte) {
        set |= low.set;
        continue;
      }
      if (at + 1 < p_.size() && p_[at] == '-' && p_[at + 1] != ']') {
        ++at;
        const Escaped high = member(at);
        if (!high.known || !high.is_byte || high.byte < low.byte) return std::nullopt;
        if (case_sensitive_) {
          set |= range(low.byte, high.byte);
        } else {
          // Without case the library compares folded bytes with folded ends, so a range whose
          // end is a letter reaches as far as that letter's other case.
          set |= range(std::min({int{low.byte}, fold(low.byte, 'a' - 'A'), fold(low.byte, 'A' - 'a')}),
                       std::max({int{high.byte}, fold(high.byte, 'a' - 'A'), fold(high.byte, 'A' - 'a')}));
        }
      } else {
        set.set(low.byte);
      }
    }
    // A negated bracket may begin with any byte it leaves out; counting all of them is enough.
    return negated ? all_bytes() : set;
  }

  std::optional<ByteSet> group(std::size_t& at) {
    ++at;
    if (!at_end(at) && p_[at] == '?') {
      if (at + 1 >= p_.size() || p_[at + 1] != ':') return std::nullopt;  // look-around, options, names
      at += 2;
    }
    std::optional<ByteSet> set = alternatives(at, true);
    if (!set) return std::nullopt;
    ++at;  // the ")"
    return set;
  }

  // Past one atom, without reading it; false for what this reader does not follow.
  bool skip_atom(std::size_t& at) {
    switch (p_[at]) {
      case '\\':
        if (at + 1 < p_.size() && p_[at + 1] == 'Q') return false;  // a quoted stretch
        at += 2;
        return true;
      case '[': {
        ++at;
        if (!at_end(at) && p_[at] == '^') ++at;
        if (!at_end(at) && p_[at] == ']') ++at;
        while (!at_end(at) && p_[at] != ']') {
          if (p_[at] == '[' && at + 1 < p_.size() && (p_[at + 1] == ':' || p_[at + 1] == '.' || p_[at + 1] == '=')) {
            return false;
          }
          at += p_[at] == '\\' ? 2 : 1;
        }
        if (at_end(at)) return false;
        ++at;
        return true;
      }
      case '(':
        ++at;
        if (!at_end(at) && p_[at] == '?' && (at + 1 >= p_.size() || p_[at + 1] != ':')) return false;
        while (!at_end(at) && p_[at] != ')') {
          if (!skip_atom(at)) return false;
        }
        if (at_end(at)) return false;
        ++at;
        return true;
      default:
        ++at;
        return true;
    }
  }

  std::string_view p_;
  bool case_sensitive_;
};

}  // namespace

std::optional<ByteSet> match_start_bytes(std::string_view pattern, bool case_sensitive) {
  std::optional<ByteSet> set = StartReader(pattern, case_sensitive).whole();
  if (!set || case_sensitive) return set;
  // Without case, a letter may begin a match in either case; what the code page's folding
  // does above 0x80 is not known here, so those bytes are all counted in.
  for (int c = 'a'; c <= 'z'; ++c) {
    const auto upper = static_cast<std::size_t>(c - 'a' + 'A');
    const auto lower = static_cast<std::size_t>(c);
    if (set->test(upper) || set->test(lower)) set->set(upper).set(lower);
  }
  if ((*set & range(0x80, 0xFF)).any()) *set |= range(0x80, 0xFF);
  return set;
}

}  // namespace quillet::text

#include "text/search.h"

#include <algorithm>
#include <cstring>

#include "text/scan.h"
#include "text/text_builder.h"

namespace quillet::text {
namespace {

// 0-based byte offset of a 1-based position, raised to 0; computed wide so that extreme
// positions cannot overflow.
std::int64_t offset_of(std::int32_t position) { return std::max<std::int64_t>(std::int64_t{position} - 1, 0); }

char* text_of(const char* begin, const char* end) { return make_text(begin, static_cast<std::size_t>(end - begin)); }

}  // namespace

std::int32_t find_text(std::string_view text, std::string_view subtext, std::optional<std::int32_t> start,
                       bool ignore_case) {
  const std::int64_t from = start ? offset_of(*start) : 0;
  const bool region_empty = from >= static_cast<std::int64_t>(text.size());
  if (subtext.empty()) return region_empty ? -1 : 1;
  if (region_empty) return -1;
  const char* found = find_on_boundary(text.data() + from, text.data() + text.size(), subtext, ignore_case);
  return found != nullptr ? static_cast<std::int32_t>(found - text.data() + 1) : -1;
}

std::int32_t find_text_reverse(std::string_view text, std::string_view subtext, std::optional<std::int32_t> start,
                               bool ignore_case) {
  const std::int64_t limit = start ? std::int64_t{*start} - 1 : static_cast<std::int64_t>(text.size());
  if (limit <= 0) return -1;
  const auto region = static_cast<std::size_t>(std::min<std::int64_t>(limit, static_cast<std::int64_t>(text.size())));
  if (subtext.empty()) return region > 0 ? 1 : -1;
  // Every match inside the region counts, overlapping ones included; the last one wins.
  SubtextFinder finder(text.data(), text.data() + region, subtext, ignore_case);
  const char* last = nullptr;
  for (const char* found = finder.next(text.data()); found != nullptr; found = finder.next(found + 1)) last = found;
  return last != nullptr ? static_cast<std::int32_t>(last - text.data() + 1) : -1;
}

namespace {

// The replacement scan, for the command's text builder and for strings: appends to out the
// text with the replacements made. False, with nothing appended, when nothing changes.
template <class Out>
bool append_replaced(Out& out, std::string_view text, std::string_view subtext, std::string_view replacement,
                     std::int64_t skip, std::int32_t remaining, bool case_sensitive) {
  if (text.empty() || subtext.empty() || skip >= static_cast<std::int64_t>(text.size()) || remaining == 0) return false;
  const char* end = text.data() + text.size();
  const char* pos = text.data() + skip;
  SubtextFinder finder(pos, end, subtext, !case_sensitive);
  const char* found = finder.next(pos);
  if (found == nullptr && !(subtext.size() == 1 && ends_with_lone_lead(pos, end))) return false;

  out.append(text.data(), static_cast<std::size_t>(skip));
  bool stopped_by_count = false;
  for (; found != nullptr; found = finder.next(pos)) {
    out.append(pos, static_cast<std::size_t>(found - pos));
    if (!replacement.empty()) out.append(replacement.data(), replacement.size());
    pos = found + subtext.size();
    finder.restart(pos);  // the scan goes on after the match as from a new start
    if (remaining != -1) {
      if (remaining == 1) {
        stopped_by_count = true;
        break;
      }
      --remaining;  // any other negative count never reaches 1: all are replaced
    }
  }
  // A one-byte subtext lets the scan reach a lone lead byte at the end, which it then drops;
  // a longer one stops while fewer bytes remain than it has, and the rest is copied.
  const bool drop_lone_lead = !stopped_by_count && subtext.size() == 1 && ends_with_lone_lead(pos, end);
  out.append(pos, static_cast<std::size_t>(end - pos) - (drop_lone_lead ? 1 : 0));
  return true;
}

}  // namespace

char* replace_subtext(std::string_view text, std::string_view subtext, std::string_view replacement,
                      std::optional<std::int32_t> start, std::optional<std::int32_t> count, bool case_sensitive) {
  TextBuilder out;
  out.make_room(text.size());
  if (!append_replaced(out, text, subtext, replacement, start ? offset_of(*start) : 0, count.value_or(-1),
                       case_sensitive)) {
    return make_text(text);
  }
  return out.to_text();
}

void append_replacing_all(std::string& out, std::string_view text, std::string_view subtext,
                          std::string_view replacement, bool case_sensitive) {
  if (!append_replaced(out, text, subtext, replacement, 0, -1, case_sensitive)) out.append(text);
}

namespace {
// Takes appends by their size only.
struct AppendedSize {
  std::uint64_t size = 0;
  void append(const char*, std::size_t count) { size += count; }
};
}  // namespace

std::uint64_t replaced_size(std::string_view text, std::string_view subtext, std::string_view replacement,
                            bool case_sensitive) {
  AppendedSize counted;
  if (!append_replaced(counted, text, subtext, replacement, 0, -1, case_sensitive)) return text.size();
  return counted.size;
}

void* split_text(std::string_view text, std::string_view separator, std::optional<std::int32_t> max_pieces) {
  const std::int32_t limit = max_pieces ? std::max(*max_pieces, 0) : -1;
  if (text.empty() || limit == 0) return make_empty_array();
  if (separator.empty()) {
    void* whole[] = {make_text(text)};
    return make_block_array(whole, 1);
  }
  const char* end = text.data() + text.size();
  const char* piece = text.data();
  TextBuilder pieces;
  std::int32_t made = 0;
  SubtextFinder finder(piece, end, separator, false);
  for (const char* found = finder.next(piece); found != nullptr; found = finder.next(piece)) {
    pieces.append_pointer(text_of(piece, found));
    piece = found + separator.size();
    finder.restart(piece);
    if (++made == limit) return pieces.take_block_array();
  }
  if (piece != end) pieces.append_pointer(text_of(piece, end));
  return pieces.take_block_array();
}

int compare_text(std::string_view a, std::string_view b, bool case_sensitive) {
  if (case_sensitive) {
    const int order = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    if (order != 0) return order;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
  }
  // Folds single-byte letters only: the second byte of a double-byte character is compared as
  // it stands.
  std::size_t i = 0;
  bool trail = false;
  for (; i < a.size() && i < b.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (!trail) {
      x = x < 0x80 ? fold_case(x) : x;
      y = y < 0x80 ? fold_case(y) : y;
    }
    if (x != y) return x < y ? -1 : 1;
    trail = !trail && is_lead_byte(a[i]);
  }
  return a.size() - i > 0 ? 1 : (b.size() - i > 0 ? -1 : 0);
}

char* left_text(std::string_view text, std::int32_t count) {
  if (count <= 0) return nullptr;
  return make_text(text.substr(0, static_cast<std::size_t>(count)));
}

char* right_text(std::string_view text, std::int32_t count) {
  if (count <= 0) return nullptr;
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(count));
  return make_text(text.substr(text.size() - n));
}

char* mid_text(std::string_view text, std::int32_t start, std::int32_t count) {
  const std::int64_t from = std::int64_t{start} - 1;
  if (from < 0 || from >= static_cast<std::int64_t>(text.size()) || count <= 0) return nullptr;
  return make_text(text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count)));
}

char* char_text(std::uint8_t code) {
  const char byte = static_cast<char>(code);
  return make_text(&byte, code != 0 ? 1 : 0);
}

char* space_text(std::int32_t count) {
  if (count < 1) return nullptr;
  auto* text = static_cast<char*>(runtime::allocate(static_cast<std::size_t>(count) + 1));
  std::memset(text, ' ', static_cast<std::size_t>(count));
  text[count] = '\0';
  return text;
}

namespace {

const char* skip_leading_spaces(const char* p, const char* end) {
  for (std::size_t width; p < end && (width = space_width(p, end)) != 0;) p += width;
  return p;
}

// The end of [begin, end) without its trailing spaces; a lone lead byte at the end is dropped
// and the spaces before it stay.
const char* trailing_cut(const char* begin, const char* end) {
  if (ends_with_lone_lead(begin, end)) return end - 1;
  while (end > begin) {
    if (end[-1] == ' ' && is_boundary_from(begin, end - 1)) {
      end -= 1;
    } else if (end - begin >= 2 && static_cast<unsigned char>(end[-1]) == 0xA1 &&
               static_cast<unsigned char>(end[-2]) == 0xA1 && is_boundary_from(begin, end - 2)) {
      end -= 2;
    } else {
      break;
    }
  }
  return end;
}

}  // namespace

std::string_view without_leading_spaces(std::string_view text) {
  const char* end = text.data() + text.size();
  const char* begin = skip_leading_spaces(text.data(), end);
  return {begin, static_cast<std::size_t>(end - begin)};
}

std::string_view without_trailing_spaces(std::string_view text) {
  return {text.data(), static_cast<std::size_t>(trailing_cut(text.data(), text.data() + text.size()) - text.data())};
}

std::string_view without_surrounding_spaces(std::string_view text) {
  return without_trailing_spaces(without_leading_spaces(text));
}

char* trim_leading(std::string_view text) { return make_text(without_leading_spaces(text)); }
char* trim_trailing(std::string_view text) { return make_text(without_trailing_spaces(text)); }
char* trim_both(std::string_view text) { return make_text(without_surrounding_spaces(text)); }

namespace {

// RemoveAllSpaces's copy, for the command's text builder and for strings.
template <class Out>
void append_spaceless(Out& out, std::string_view text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  BoundaryCursor cursor(begin);
  const char* copied = begin;
  for (const char* p = find_space_or(begin, end, ' '); p < end; p = find_space_or(p, end, ' ')) {
    if (!cursor.is_boundary(p)) {
      ++p;  // a trail byte
      continue;
    }
    out.append(copied, static_cast<std::size_t>(p - copied));
    copied = p += space_width(p, end);
  }
  const char* stop = ends_with_lone_lead(copied, end) ? end - 1 : end;
  out.append(copied, static_cast<std::size_t>(stop - copied));
}

}  // namespace

char* remove_all_spaces(std::string_view text) {
  TextBuilder out;
  out.make_room(text.size());
  append_spaceless(out, text);
  return out.to_text();
}

void append_without_spaces(std::string& out, std::string_view text) { append_spaceless(out, text); }

// ---- Commands ---------------------------------------------------------------------------------

void FindText(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  return_int(result, find_text(text_argument(args[0]), text_argument(args[1]), optional_int(count, args, 2),
                               optional_bool(count, args, 3).value_or(false)));
}

void FindTextReverse(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  return_int(result, find_text_reverse(text_argument(args[0]), text_argument(args[1]),
                                       optional_int(count, args, 2), optional_bool(count, args, 3).value_or(false)));
}

void ReplaceSubtext(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  const ValueRecord* replacement = given_argument(count, args, 2);
  return_text(result, replace_subtext(text_argument(args[0]), text_argument(args[1]),
                                      replacement != nullptr ? text_argument(*replacement) : std::string_view(),
                                      optional_int(count, args, 3), optional_int(count, args, 4),
                                      optional_bool(count, args, 5).value_or(false)));
}

void SplitText(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  const ValueRecord* separator = given_argument(count, args, 1);
  return_array(result, split_text(text_argument(args[0]),
                                  separator != nullptr ? text_argument(*separator) : std::string_view(","),
                                  optional_int(count, args, 2)));
}

void CompareText(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  return_int(result, compare_text(text_argument(args[0]), text_argument(args[1]),
                                  optional_bool(count, args, 2).value_or(false)));
}

void TextLength(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_int(result, static_cast<std::int32_t>(text_argument(args[0]).size()));
}

void LeftText(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_text(result, left_text(text_argument(args[0]), int_value(args[1])));
}

void RightText(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_text(result, right_text(text_argument(args[0]), int_value(args[1])));
}

void MidText(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_text(result, mid_text(text_argument(args[0]), int_value(args[1]), int_value(args[2])));
}

void CharText(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_text(result, char_text(static_cast<std::uint8_t>(args[0].low)));
}

void SpaceText(ValueRecord* result, std::int32_t, ValueRecord* args) { return_text(result, space_text(int_value(args[0]))); }

void TrimLeading(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_text(result, trim_leading(text_argument(args[0])));
}

void TrimTrailing(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_text(result, trim_trailing(text_argument(args[0])));
}

void TrimBoth(ValueRecord* result, std::int32_t, ValueRecord* args) { return_text(result, trim_both(text_argument(args[0]))); }

void RemoveAllSpaces(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_text(result, remove_all_spaces(text_argument(args[0])));
}

}  // namespace quillet::text

// Search, replace, split, cut and trim: pure functions over text bytes, the commands that
// expose them through the calling frame, and typed helpers that call those commands.
//
// Double-byte contract: searching, replacing, splitting and trimming step one character at a
// time (a byte 0x80-0xFF and the byte after it are one character) and only match where a
// character starts, as seen from where the scan began; a lead byte at the very end stops the
// scan. Left, right and middle count bytes and may cut a character in two. Positions are
// 1-based byte positions, -1 means none. Spaces are 0x20 and A1 A1 only.
//
// Text results are fresh blocks (null for the empty text) owned by the caller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/call_frame.h"

namespace quillet::text {

std::int32_t find_text(std::string_view text, std::string_view subtext, std::optional<std::int32_t> start = {},
                       bool ignore_case = false);
std::int32_t find_text_reverse(std::string_view text, std::string_view subtext,
                               std::optional<std::int32_t> start = {}, bool ignore_case = false);
char* replace_subtext(std::string_view text, std::string_view subtext, std::string_view replacement,
                      std::optional<std::int32_t> start = {}, std::optional<std::int32_t> count = {},
                      bool case_sensitive = false);
// Appends to out what replace_subtext returns for every occurrence from the first byte (no
// start, no count): for callers that build strings rather than text values.
void append_replacing_all(std::string& out, std::string_view text, std::string_view subtext,
                          std::string_view replacement, bool case_sensitive);
// The size of what append_replacing_all appends, worked out without making it.
std::uint64_t replaced_size(std::string_view text, std::string_view subtext, std::string_view replacement,
                            bool case_sensitive);
// Appends to out what remove_all_spaces returns.
void append_without_spaces(std::string& out, std::string_view text);
void* split_text(std::string_view text, std::string_view separator = ",",
                 std::optional<std::int32_t> max_pieces = {});
int compare_text(std::string_view a, std::string_view b, bool case_sensitive);
char* left_text(std::string_view text, std::int32_t count);
char* right_text(std::string_view text, std::int32_t count);
char* mid_text(std::string_view text, std::int32_t start, std::int32_t count);
char* char_text(std::uint8_t code);
char* space_text(std::int32_t count);
// The text without its leading spaces, its trailing spaces, or both, as views into it: the
// cuts of TrimLeading, TrimTrailing and TrimBoth, whose trailing cut also drops a lone lead
// byte at the end.
std::string_view without_leading_spaces(std::string_view text);
std::string_view without_trailing_spaces(std::string_view text);
std::string_view without_surrounding_spaces(std::string_view text);
char* trim_leading(std::string_view text);
char* trim_trailing(std::string_view text);
char* trim_both(std::string_view text);
char* remove_all_spaces(std::string_view text);

// The commands, with the arguments in call order; optional ones may be omitted (type 0).
void FindText(ValueRecord* result, std::int32_t count, ValueRecord* args);         // text, subtext, [start], [ignore case]
void FindTextReverse(ValueRecord* result, std::int32_t count, ValueRecord* args);  // text, subtext, [start], [ignore case]
void ReplaceSubtext(ValueRecord* result, std::int32_t count, ValueRecord* args);   // text, subtext, [replacement], [start], [count], [case-sensitive]
void SplitText(ValueRecord* result, std::int32_t count, ValueRecord* args);        // text, [separator], [maximum]
void CompareText(ValueRecord* result, std::int32_t count, ValueRecord* args);      // a, b, case-sensitive
void TextLength(ValueRecord* result, std::int32_t count, ValueRecord* args);
void LeftText(ValueRecord* result, std::int32_t count, ValueRecord* args);
void RightText(ValueRecord* result, std::int32_t count, ValueRecord* args);
void MidText(ValueRecord* result, std::int32_t count, ValueRecord* args);
void CharText(ValueRecord* result, std::int32_t count, ValueRecord* args);
void SpaceText(ValueRecord* result, std::int32_t count, ValueRecord* args);
void TrimLeading(ValueRecord* result, std::int32_t count, ValueRecord* args);
void TrimTrailing(ValueRecord* result, std::int32_t count, ValueRecord* args);
void TrimBoth(ValueRecord* result, std::int32_t count, ValueRecord* args);
void RemoveAllSpaces(ValueRecord* result, std::int32_t count, ValueRecord* args);

// Typed helpers for the application: each goes through call_command.
namespace call {
using Int = std::optional<std::int32_t>;
using Bool = std::optional<bool>;
using Text = const char*;

inline std::int32_t find_text(Text text, Text subtext, Int start = {}, Bool ignore_case = {}) {
  return int_value(invoke(FindText, text, subtext, start, ignore_case));
}
inline std::int32_t find_text_reverse(Text text, Text subtext, Int start = {}, Bool ignore_case = {}) {
  return int_value(invoke(FindTextReverse, text, subtext, start, ignore_case));
}
inline OwnedText replace_subtext(Text text, Text subtext, std::optional<Text> replacement = {}, Int start = {},
                                 Int count = {}, Bool case_sensitive = {}) {
  return take_text(invoke(ReplaceSubtext, text, subtext, replacement, start, count, case_sensitive));
}
inline OwnedBlockArray split_text(Text text, std::optional<Text> separator = {}, Int max_pieces = {}) {
  return take_block_array(invoke(SplitText, text, separator, max_pieces));
}
inline std::int32_t compare_text(Text a, Text b, bool case_sensitive) {
  return int_value(invoke(CompareText, a, b, case_sensitive));
}
inline std::int32_t text_length(Text text) { return int_value(invoke(TextLength, text)); }
inline OwnedText left_text(Text text, std::int32_t n) { return take_text(invoke(LeftText, text, n)); }
inline OwnedText right_text(Text text, std::int32_t n) { return take_text(invoke(RightText, text, n)); }
inline OwnedText mid_text(Text text, std::int32_t start, std::int32_t n) {
  return take_text(invoke(MidText, text, start, n));
}
inline OwnedText char_text(std::uint8_t code) { return take_text(invoke(CharText, byte_record(code))); }
inline OwnedText space_text(std::int32_t n) { return take_text(invoke(SpaceText, n)); }
inline OwnedText trim_leading(Text text) { return take_text(invoke(TrimLeading, text)); }
inline OwnedText trim_trailing(Text text) { return take_text(invoke(TrimTrailing, text)); }
inline OwnedText trim_both(Text text) { return take_text(invoke(TrimBoth, text)); }
inline OwnedText remove_all_spaces(Text text) { return take_text(invoke(RemoveAllSpaces, text)); }
}  // namespace call

}  // namespace quillet::text

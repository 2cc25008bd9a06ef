// Case and width conversion of a whole text.
//
// Double-byte contract: a byte 0x80-0xFF and the byte after it are one character and are never
// converted by the case commands, even when the second byte is a letter; only the ASCII
// letters have case. The width commands map printable ASCII to the full-width forms of code
// page 936 (space A1 A1, tilde A1 AB, 0x21-0x7D to A3 A1-A3 FD) and back (the two stars A1 EE
// and A1 EF become "*", A3 A1-A3 FE become 0x21-0x7E). A lead byte at the very end stays under
// the case commands and is dropped by the width commands. Results are fresh blocks, null when
// empty.
#pragma once

#include <string_view>

#include "text/call_frame.h"

namespace quillet::text {

char* to_upper(std::string_view text);
char* to_lower(std::string_view text);
// The same case conversions in place, over bytes the caller holds (no terminator needed).
void upper_in_place(char* bytes, std::size_t count);
void lower_in_place(char* bytes, std::size_t count);
char* to_full_width(std::string_view text);
char* to_half_width(std::string_view text);
// The width conversions into bytes the caller holds, for texts that may hold a NUL (a text value
// ends at one, so the commands cannot carry it): a NUL is a control character like any other and
// stays. out has room for 2 * text.size() + 1 bytes (full width) or text.size() (half width);
// the count of bytes written. full_width_size counts them without writing.
std::size_t write_full_width(std::string_view text, char* out);
std::size_t write_half_width(std::string_view text, char* out);
std::size_t full_width_size(std::string_view text);

void ToUpper(ValueRecord* result, std::int32_t count, ValueRecord* args);
void ToLower(ValueRecord* result, std::int32_t count, ValueRecord* args);
void ToFullWidth(ValueRecord* result, std::int32_t count, ValueRecord* args);
void ToHalfWidth(ValueRecord* result, std::int32_t count, ValueRecord* args);

namespace call {
inline OwnedText to_upper(const char* text) { return take_text(invoke(ToUpper, text)); }
inline OwnedText to_lower(const char* text) { return take_text(invoke(ToLower, text)); }
inline OwnedText to_full_width(const char* text) { return take_text(invoke(ToFullWidth, text)); }
inline OwnedText to_half_width(const char* text) { return take_text(invoke(ToHalfWidth, text)); }
}  // namespace call

}  // namespace quillet::text

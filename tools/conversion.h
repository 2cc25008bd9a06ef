// The conversion tools: the whole document to upper or lower case, or between half-width and
// full-width characters. Each returns the new document; the argument is never changed.
//
// Double-byte contract: a byte 0x80-0xFF and the byte after it are one character, scanned from
// the start of the document. Case conversion changes only the single-byte ASCII letters, so a
// double-byte character is never changed, even when its trail byte is a letter. Width
// conversion maps printable ASCII to the full-width forms of code page 936 (space A1 A1, tilde
// A1 AB, 0x21-0x7D to A3 A1-A3 FD) and back (A3 A1-A3 FE, A1 A1, A1 AB, and the stars A1 EE and
// A1 EF to "*"); every other character, control characters included, passes unchanged. A lone
// lead byte at the very end stays under case conversion and is dropped by width conversion.
// A NUL is a control character like any other and passes unchanged (a document read from a
// file may hold one). Full width, which can double the document, refuses (none) a result
// larger than largest, kLargestDocument unless told (tools/limits.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tools/limits.h"

namespace quillet::tools {

std::string upper_case(std::string_view document);
std::string lower_case(std::string_view document);
std::optional<std::string> full_width(std::string_view document, std::uint64_t largest = kLargestDocument);
std::string half_width(std::string_view document);

}  // namespace quillet::tools

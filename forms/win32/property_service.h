// The property services: the application reads and writes a unit's properties by number,
// naming the unit by (form id, unit id). Numbers 0-7 are common to windows and controls (left,
// top, width, height, tag, visible, disabled, mouse pointer); 8 and up belong to the type. Menu
// items have 0 caption, 1 checked, 2 disabled, 3 visible.
//
// Reads hand back new blocks the caller owns (texts, byte arrays, font records). A write
// converts the value to the property's declared type first. A form that is not loaded, or a
// type-specific property of a unit without its window, is a run-time error.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "forms/unit_ref.h"
#include "forms/win32/gdi.h"
#include "text/call_frame.h"

namespace quillet::forms::win32 {

// A font property's value: six words and the face name (the record the application builds
// from a font dialog). Read as a new block released with release_font_record.
struct FontRecord {
  std::int32_t reserved = 0;
  std::int32_t bold = 0;
  std::int32_t italic = 0;
  std::int32_t underline = 0;
  std::int32_t strike_out = 0;
  std::int32_t size = 0;  // points
  const char* face = nullptr;
};
inline constexpr text::TypeCode kFontRecordType = 0x00010100;
void release_font_record(FontRecord* font);

text::ValueRecord read_property(std::uint32_t form_id, std::uint32_t unit_id, std::int32_t number);
void write_property(std::uint32_t form_id, std::uint32_t unit_id, std::int32_t number, const text::ValueRecord& value);

// Common property numbers.
namespace property {
inline constexpr std::int32_t kLeft = 0, kTop = 1, kWidth = 2, kHeight = 3, kTag = 4, kVisible = 5, kDisabled = 6,
                              kMousePointer = 7;
inline constexpr std::int32_t kMenuCaption = 0, kMenuChecked = 1, kMenuDisabled = 2, kMenuVisible = 3;
}  // namespace property

using forms::UnitRef;

// Typed reads and writes, so handlers read like their steps.
namespace call {
text::OwnedText read_text(const UnitRef& unit, std::int32_t number);
std::int32_t read_int(const UnitRef& unit, std::int32_t number);
bool read_bool(const UnitRef& unit, std::int32_t number);
void write_text(const UnitRef& unit, std::int32_t number, const char* text);
void write_int(const UnitRef& unit, std::int32_t number, std::int32_t value);
void write_bool(const UnitRef& unit, std::int32_t number, bool value);
void write_font(const UnitRef& unit, std::int32_t number, const FontRecord& font);
}  // namespace call

}  // namespace quillet::forms::win32

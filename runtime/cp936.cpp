#include "runtime/cp936.h"

#include <cstdio>

namespace quillet::runtime {
namespace {
bool is_reserved(char16_t unit) { return unit >= Cp936Codec::kRawByteBase + 0x80 && unit <= Cp936Codec::kRawByteBase + 0xFF; }
}  // namespace

Cp936Codec::Cp936Codec(const Table& table) : table_(table), reverse_(0x10000, 0) {
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    const char16_t unit = table_.single[b - 0x80];
    if (unit == 0) continue;
    if (is_reserved(unit)) reserved_range_free_ = false;
    if (reverse_[unit] == 0) reverse_[unit] = static_cast<std::uint16_t>(b);
  }
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      const char16_t unit = table_.pair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      if (unit == 0) continue;
      if (is_reserved(unit)) reserved_range_free_ = false;
      if (reverse_[unit] == 0) reverse_[unit] = static_cast<std::uint16_t>(lead << 8 | trail);
    }
  }
}

std::pair<char16_t, std::size_t> Cp936Codec::decode_one(std::string_view bytes, std::size_t i) const {
  const auto b = static_cast<unsigned char>(bytes[i]);
  if (b < 0x80) return {b, 1};
  if (b >= 0x81 && b <= 0xFE && i + 1 < bytes.size()) {
    if (const char16_t unit = table_.pair(b, static_cast<unsigned char>(bytes[i + 1]))) return {unit, 2};
  }
  const char16_t single = table_.single[b - 0x80];
  return {single != 0 ? single : static_cast<char16_t>(kRawByteBase + b), 1};
}

std::size_t Cp936Codec::decode_into(std::string_view bytes, char16_t* out) const {
  char16_t* const first = out;
  const std::size_t size = bytes.size();
  for (std::size_t i = 0; i < size;) {
    // ASCII runs, the bulk of most documents, need no table.
    while (i < size && static_cast<unsigned char>(bytes[i]) < 0x80) *out++ = static_cast<unsigned char>(bytes[i++]);
    if (i == size) break;
    const auto [unit, width] = decode_one(bytes, i);
    *out++ = unit;
    i += width;
  }
  return static_cast<std::size_t>(out - first);
}

std::u16string Cp936Codec::decode(std::string_view bytes) const {
  std::u16string units(bytes.size(), u'\0');
  units.resize(decode_into(bytes, units.data()));
  return units;
}

std::size_t Cp936Codec::units_before(std::string_view bytes, std::size_t byte_offset) const {
  std::size_t units = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t width = decode_one(bytes, i).second;
    if (i + width > byte_offset) break;
    i += width;
    ++units;
  }
  return units;
}

std::size_t Cp936Codec::bytes_before(std::string_view bytes, std::size_t unit_offset) const {
  std::size_t i = 0;
  for (std::size_t units = 0; units < unit_offset && i < bytes.size(); ++units) i += decode_one(bytes, i).second;
  return i;
}

std::size_t Cp936Codec::encoded_width(char16_t unit) const {
  if (unit < 0x80 || is_reserved(unit)) return 1;
  return reverse_[unit] > 0xFF ? 2 : 1;
}

std::size_t Cp936Codec::encode_into(std::u16string_view units, char* out) const {
  char* const first = out;
  for (const char16_t unit : units) {
    if (unit < 0x80) {
      *out++ = static_cast<char>(unit);
    } else if (is_reserved(unit)) {
      *out++ = static_cast<char>(unit - kRawByteBase);
    } else if (const std::uint16_t code = reverse_[unit]; code > 0xFF) {
      *out++ = static_cast<char>(code >> 8);
      *out++ = static_cast<char>(code & 0xFF);
    } else {
      *out++ = code != 0 ? static_cast<char>(code) : '?';
    }
  }
  return static_cast<std::size_t>(out - first);
}

std::string code_point_list(std::u32string_view characters) {
  std::string list;
  for (const char32_t character : characters) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    if (!list.empty()) list += "、";
    list += code;
  }
  return list;
}

std::u32string Cp936Codec::lost_in_encoding(std::u16string_view units, bool raw_bytes_count) const {
  std::u32string lost;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t unit = units[i];
    if (holds(unit) || (is_raw_byte(unit) && !raw_bytes_count)) continue;
    char32_t character = unit;
    if (is_high_surrogate(unit) && i + 1 < units.size() && is_low_surrogate(units[i + 1])) {
      character = surrogate_pair(unit, units[i + 1]);
      ++i;
    }
    if (lost.find(character) == std::u32string::npos) lost += character;
  }
  return lost;
}

std::string Cp936Codec::encode(std::u16string_view units) const {
  std::string bytes(units.size() * 2, '\0');
  bytes.resize(encode_into(units, bytes.data()));
  return bytes;
}

std::size_t Cp936Codec::encoded_size(std::u16string_view units) const {
  std::size_t bytes = 0;
  for (const char16_t unit : units) bytes += encoded_width(unit);
  return bytes;
}

std::size_t Cp936Codec::units_within(std::u16string_view units, std::size_t byte_offset) const {
  std::size_t bytes = 0;
  std::size_t i = 0;
  for (; i < units.size(); ++i) {
    bytes += encoded_width(units[i]);
    if (bytes > byte_offset) break;
  }
  return i;
}

}  // namespace quillet::runtime

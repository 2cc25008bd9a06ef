// The codec's table, read from the system's own code page 936 once, on first use.
#include <windows.h>

#include "runtime/cp936.h"

namespace quillet::runtime {
namespace {

char16_t system_character(const char* bytes, int count) {
  wchar_t unit[2] = {};
  const int made = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, count, unit, 2);
  return made == 1 ? static_cast<char16_t>(unit[0]) : 0;
}

Cp936Codec::Table system_table() {
  Cp936Codec::Table table;
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    const char single = static_cast<char>(b);
    table.single[b - 0x80] = system_character(&single, 1);
  }
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      table.pairs[(lead - 0x81) * 256 + trail] = system_character(pair, 2);
    }
  }
  return table;
}

}  // namespace

const Cp936Codec& Cp936Codec::system() {
  static const Cp936Codec codec(system_table());
  return codec;
}

}  // namespace quillet::runtime

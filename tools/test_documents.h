// Random documents for the tools' tests: built from pieces that make the hard cases common
// (line breaks in runs, lone CR and LF, spaces of both widths, lead bytes that swallow the
// next byte, letters of both cases, the first and last letters and the bytes either side of
// them, a lone lead byte at the end).
#pragma once

#include <random>
#include <string>

namespace quillet::tools {

inline std::string random_document(std::mt19937& rng, std::size_t pieces) {
  static const char* const kPieces[] = {"\r\n", "\r\n", "\r\n", "\r",   "\n",     " ",  "\xA1\xA1", "\xA1",
                                        "\xB0", "\xB0\xA1", "a", "A",   "b",      ",",  "\t",       "\xA3\xC1",
                                        "\x81" "a", ",,", "x\r\ny", "\xB0\r\n", "z", "Z", "@", "[", "`", "{"};
  std::string document;
  for (std::size_t i = 0; i < pieces; ++i) document += kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])];
  return document;
}

}  // namespace quillet::tools

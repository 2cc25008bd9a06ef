#include "bench/corpus.h"

namespace quillet::bench {
namespace {

struct Lcg {
  unsigned state;
  unsigned next(unsigned bound) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % bound;
  }
};

// Common GB2312 characters: leads B0-D7 with trails A1-FE.
void append_chinese(std::string& out, Lcg& rng, unsigned count) {
  for (unsigned i = 0; i < count; ++i) {
    out += static_cast<char>(0xB0 + rng.next(0x28));
    out += static_cast<char>(0xA1 + rng.next(0x5E));
  }
}

const char* const kWords[] = {"the", "Quillet", "text", "editor", "GBK", "line", "Windows", "replace", "find", "abc"};

}  // namespace

std::string make_corpus(std::size_t bytes, unsigned seed) {
  Lcg rng{seed};
  std::string out;
  out.reserve(bytes + 256);
  while (out.size() < bytes) {
    switch (rng.next(10)) {
      case 0:
        out += "\r\n\r\n\r\n";  // a run of blank lines
        break;
      case 1:
        out += "\xA1\xA1\xA1\xA1";  // indented with full-width spaces
        append_chinese(out, rng, 4 + rng.next(30));
        out += "\xA1\xA3\r\n";
        break;
      case 2:
        for (unsigned i = 0, n = 1 + rng.next(6); i < n; ++i) {
          out += kWords[rng.next(10)];
          out += ' ';
        }
        out += std::to_string(rng.next(100000));
        out += "\r\n";
        break;
      case 3:
        out += "\xA3\xC1\xA3\xC2\xA3\xB1\xA3\xB2";  // full-width ＡＢ１２
        append_chinese(out, rng, 2 + rng.next(8));
        break;
      case 4:
        out += "  ";
        out += kWords[rng.next(10)];
        out += "   \r\n";
        break;
      default:
        append_chinese(out, rng, 8 + rng.next(40));
        out += rng.next(3) == 0 ? "\xA3\xAC" : "\r\n";  // ， or a line end
        break;
    }
  }
  out.resize(bytes);
  // Never end inside a character.
  std::size_t high = 0;
  while (high < out.size() && static_cast<unsigned char>(out[out.size() - 1 - high]) >= 0x80) ++high;
  if (high % 2 == 1) out.back() = '\n';
  return out;
}

}  // namespace quillet::bench

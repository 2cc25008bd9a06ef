// quillet-tools on a POSIX system: arguments arrive as the terminal's bytes (UTF-8) and are
// turned into GBK for the tools; file names stay as they are.
#include <iconv.h>
#include <malloc.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cli/quillet_tools.h"
#include "runtime/cp936.h"

namespace {

using quillet::cli::Argument;

// One UTF-8 character of text at i: its code point (or the byte itself when it is no UTF-8).
char32_t next_code_point(const std::string& text, std::size_t& i) {
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(i);
  const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
  if (length == 1 || i + length > text.size()) return byte(i++);
  char32_t code = lead & (0x7F >> length);
  for (int k = 1; k < length; ++k) code = (code << 6) | (byte(i + k) & 0x3F);
  i += length;
  return code;
}

// The argument in GBK, and the characters GBK cannot hold.
Argument argument_of(const char* word) {
  Argument argument{word, "", std::filesystem::path(word)};
  const std::string text = word;
  bool ascii = true;
  for (const char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return argument;
  iconv_t converter = iconv_open("CP936", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) return argument;
  std::string gbk;
  std::u32string lost;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const char32_t code = next_code_point(text, i);
    char in_bytes[4];
    const std::size_t in_size = i - start;
    for (std::size_t k = 0; k < in_size; ++k) in_bytes[k] = text[start + k];
    char out_bytes[8];
    char* in = in_bytes;
    char* out = out_bytes;
    std::size_t in_left = in_size, out_left = sizeof out_bytes;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1) || in_left != 0) {
      if (lost.find(code) == std::u32string::npos) lost += code;
    } else {
      gbk.append(out_bytes, sizeof out_bytes - out_left);
    }
  }
  iconv_close(converter);
  argument.text = gbk;
  argument.lost = quillet::runtime::code_point_list(lost);
  return argument;
}

}  // namespace

int main(int count, char** words) {
  // The tools make a block or two per megabyte of input: keep them on the heap, where they are
  // used again, rather than mapping fresh pages for each and giving them back.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 128 << 20);
  std::vector<Argument> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(argument_of(words[i]));
  return quillet::cli::run_quillet_tools(arguments);
}

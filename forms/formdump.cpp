// formdump BLOCK_FILE: prints a stored form description block as text (see form_dump.h).
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "forms/form_dump.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: formdump BLOCK_FILE\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const std::optional<quillet::forms::FormBlock> block = quillet::forms::read_form_block(bytes);
  if (!file || !block) {
    std::fprintf(stderr, "formdump: %s is not a readable form description block\n", argv[1]);
    return 1;
  }
  const std::string listing = quillet::forms::dump_form_block(*block, bytes.size());
  std::fwrite(listing.data(), 1, listing.size(), stdout);
  return 0;
}

// formdump [BLOCK_FILE]: prints a form description block as text (see form_dump.h); without
// an argument, the block the program carries.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "forms/form_dump.h"
#include "forms/stored_forms.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::fprintf(stderr, "usage: formdump [BLOCK_FILE]\n");
    return 2;
  }
  std::string bytes(quillet::forms::stored_form_block());
  if (argc == 2) {
    std::ifstream file(argv[1], std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  const std::optional<quillet::forms::FormBlock> block = quillet::forms::read_form_block(bytes);
  if (!block) {
    std::fprintf(stderr, "formdump: %s is not a readable form description block\n", argc == 2 ? argv[1] : "the stored block");
    return 1;
  }
  const std::string listing = quillet::forms::dump_form_block(*block, bytes.size());
  std::fwrite(listing.data(), 1, listing.size(), stdout);
  return 0;
}

// make_form_block SOURCE_DIR OUT: writes the form description block built from the catalogue
// and the pictures in SOURCE_DIR/forms/assets. scripts/make-forms runs it.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "forms/catalogue.h"

namespace {
std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_form_block SOURCE_DIR OUT\n");
    return 2;
  }
  const std::string assets = std::string(argv[1]) + "/forms/assets/";
  const std::string block = quillet::forms::write_form_block(
      quillet::forms::build_catalogue({read_file(assets + "contact.gif"), read_file(assets + "quillet.ico")}));
  std::ofstream out(argv[2], std::ios::binary);
  out.write(block.data(), static_cast<std::streamsize>(block.size()));
  std::printf("%s: %zu bytes\n", argv[2], block.size());
  return out ? 0 : 1;
}

// quillet-tools on Windows: arguments arrive as UTF-16 and are turned into GBK through the
// program's codec; file names stay UTF-16.
#include <windows.h>

#include <string>
#include <vector>

#include "cli/quillet_tools.h"
#include "runtime/cp936.h"

int wmain(int count, wchar_t** words) {
  const quillet::runtime::Cp936Codec& codec = quillet::runtime::Cp936Codec::system();
  std::vector<quillet::cli::Argument> arguments;
  for (int i = 1; i < count; ++i) {
    const std::u16string_view units(reinterpret_cast<const char16_t*>(words[i]), std::wcslen(words[i]));
    // Typed, so the units that stand for stray bytes count as characters GBK cannot hold.
    const std::u32string lost = codec.lost_in_encoding(units, true);
    arguments.push_back({codec.encode(units), quillet::runtime::code_point_list(lost), std::filesystem::path(words[i])});
  }
  return quillet::cli::run_quillet_tools(arguments);
}

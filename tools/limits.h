// The largest document a tool makes: 256 MiB of bytes. The editor's text box holds up to 2^31 - 2
// characters, but a document that size would take the program's memory several times over on
// its way into the box; a tool refuses to make a larger one, and the document stays as it was.
#pragma once

#include <cstdint>

namespace quillet::tools {

inline constexpr std::uint64_t kLargestDocument = std::uint64_t{1} << 28;

}  // namespace quillet::tools

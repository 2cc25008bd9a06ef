#include "tools/conversion.h"

#include "text/case_width.h"
#include "tools/limits.h"

namespace quillet::tools {

// Converted in a copy of their own: the case commands' conversion without a text block between.
std::string upper_case(std::string_view document) {
  std::string converted(document);
  text::upper_in_place(converted.data(), converted.size());
  return converted;
}
std::string lower_case(std::string_view document) {
  std::string converted(document);
  text::lower_in_place(converted.data(), converted.size());
  return converted;
}

std::optional<std::string> full_width(std::string_view document, std::uint64_t largest) {
  // A document of more than half the limit may still fit: its size is counted first.
  if (2 * std::uint64_t{document.size()} > largest && text::full_width_size(document) > largest) return std::nullopt;
  std::string converted(2 * document.size() + 1, '\0');
  converted.resize(text::write_full_width(document, converted.data()));
  return converted;
}

std::string half_width(std::string_view document) {
  std::string converted(document.size(), '\0');
  converted.resize(text::write_half_width(document, converted.data()));
  return converted;
}

}  // namespace quillet::tools

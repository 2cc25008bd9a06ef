#include "tools/conversion.h"

#include "tools/owned_result.h"
#include "text/case_width.h"

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
std::string full_width(std::string_view document) { return string_of(text::to_full_width(document)); }
std::string half_width(std::string_view document) { return string_of(text::to_half_width(document)); }

}  // namespace quillet::tools

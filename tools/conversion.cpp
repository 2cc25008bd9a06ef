#include "tools/conversion.h"

#include "tools/owned_result.h"
#include "text/case_width.h"

namespace quillet::tools {

std::string upper_case(std::string_view document) { return string_of(text::to_upper(document)); }
std::string lower_case(std::string_view document) { return string_of(text::to_lower(document)); }
std::string full_width(std::string_view document) { return string_of(text::to_full_width(document)); }
std::string half_width(std::string_view document) { return string_of(text::to_half_width(document)); }

}  // namespace quillet::tools

// The form description block the program carries (forms/stored_forms.bin, embedded at build
// time). The form runtime reads its forms from here and nowhere else.
#pragma once

#include <string_view>

namespace quillet::forms {

std::string_view stored_form_block();

}  // namespace quillet::forms

// A readable listing of a form description block, one line per form, unit, menu item and
// event binding, for people debugging forms and for checks. Keep the format stable.
#pragma once

#include <string>

#include "forms/form_block.h"

namespace quillet::forms {

std::string dump_form_block(const FormBlock& block, std::size_t block_size);

}  // namespace quillet::forms

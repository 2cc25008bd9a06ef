#include "forms/stored_forms.h"

extern const unsigned char kStoredFormBlock[];
extern const unsigned long long kStoredFormBlock_size;

namespace quillet::forms {

std::string_view stored_form_block() {
  return {reinterpret_cast<const char*>(kStoredFormBlock), static_cast<std::size_t>(kStoredFormBlock_size)};
}

}  // namespace quillet::forms

// How the application names a window, a control or a menu item of a stored form: the form's
// id, the unit's id and the unit's type code, passed to commands as one unit record.
#pragma once

#include <cstdint>

#include "text/call_frame.h"

namespace quillet::forms {

struct UnitRef {
  std::uint32_t form_id = 0;
  std::uint32_t unit_id = 0;
  text::TypeCode type = 0;
  text::ValueRecord record() const { return text::unit_record(form_id, unit_id, type); }
  bool operator==(const UnitRef&) const = default;
};

}  // namespace quillet::forms

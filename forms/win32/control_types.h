// The control for a unit of a form, by the unit's type code.
#pragma once

#include <memory>

#include "forms/win32/control.h"

namespace quillet::forms::win32 {

// Null for a type the runtime does not know (the unit is then left out of the form).
std::unique_ptr<Control> make_control(const ControlSite& site);

}  // namespace quillet::forms::win32

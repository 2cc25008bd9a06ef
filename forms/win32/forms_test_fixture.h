// Test support: a fixture over the form runtime with the stored forms. Every test leaves no
// form open and no handler registered; units are found by their stored names.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "forms/catalogue.h"
#include "forms/win32/form_runtime.h"
#include "forms/win32/property_service.h"

namespace quillet::forms::win32 {

class FormsTest : public testing::Test {
 protected:
  void SetUp() override { runtime_ = &FormRuntime::initialise(); }
  void TearDown() override {
    runtime_->close_all_forms();
    for (std::uint32_t role = 0; role < static_cast<std::uint32_t>(HandlerRole::Count); ++role) {
      runtime_->register_handler(role, {});
    }
  }
  UnitRef unit(std::uint32_t form_id, const char* name) const {
    for (const UnitRecord& unit : runtime_->form(form_id)->units) {
      if (unit.name == name) return {form_id, unit.id, unit.type};
    }
    ADD_FAILURE() << "no unit " << name;
    return {};
  }
  // The unit's window, or null when it has none.
  HWND window(const UnitRef& unit) const {
    const Control* control = runtime_->control(unit.form_id, unit.unit_id);
    return control != nullptr ? control->window() : nullptr;
  }
  FormRuntime* runtime_ = nullptr;
};

}  // namespace quillet::forms::win32

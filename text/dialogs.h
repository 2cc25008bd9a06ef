// The MessageBox command. The box itself is the runtime's (runtime/message_box.h), whose
// presenter tests replace to answer without a human.
#pragma once

#include <cstdint>
#include <optional>

#include "text/call_frame.h"

// <windows.h> defines MessageBox as a macro; the command keeps its own name.
#ifdef MessageBox
#undef MessageBox
#endif

namespace quillet::text {

// Turns a window reference (form id, unit id) into a window handle; the form runtime installs
// one. Without it, window references give no owner.
using WindowHandleResolver = std::uintptr_t (*)(std::uint32_t form_id, std::uint32_t unit_id);
void set_window_handle_resolver(WindowHandleResolver resolver);

// message (any value); [flags]; [caption, default "信息："]; [owner: window reference or handle].
// Returns the button pressed: OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6.
void MessageBox(ValueRecord* result, std::int32_t count, ValueRecord* args);

inline constexpr std::int32_t kPressedOk = 0;
inline constexpr std::int32_t kPressedCancel = 1;
inline constexpr std::int32_t kPressedYes = 5;
inline constexpr std::int32_t kPressedNo = 6;

namespace call {
inline std::int32_t message_box(const char* message, std::int32_t flags = 0,
                                std::optional<const char*> caption = {}) {
  return int_value(invoke(MessageBox, message, flags, caption));
}
inline std::int32_t message_box(const char* message, std::int32_t flags, const char* caption,
                                const ValueRecord& owner) {
  return int_value(invoke(MessageBox, message, flags, caption, owner));
}
}  // namespace call

}  // namespace quillet::text

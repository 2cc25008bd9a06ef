#include "text/dialogs.h"

#include "runtime/message_box.h"
#include "text/conversion.h"

namespace quillet::text {
namespace {

WindowHandleResolver window_handle_resolver = nullptr;

bool is_shown_as_text(TypeCode type) {
  return type_code::is_numeric(type) || type == type_code::kBool || type == type_code::kDateTime ||
         type == type_code::kText;
}

std::uintptr_t owner_handle(const ValueRecord& owner) {
  if (owner.type == type_code::kWindow) {
    return window_handle_resolver != nullptr ? window_handle_resolver(owner.low, owner.high) : 0;
  }
  if (type_code::is_numeric(owner.type)) return static_cast<std::uintptr_t>(bits_of(owner));
  return 0;
}

std::int32_t pressed_index(int button) {
  return button >= runtime::kButtonOk && button <= runtime::kButtonNo ? button - 1 : 0;
}

}  // namespace

void set_window_handle_resolver(WindowHandleResolver resolver) { window_handle_resolver = resolver; }

void MessageBox(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  OwnedText message(count > 0 && is_shown_as_text(args[0].type) ? value_to_text(args[0]) : nullptr);
  std::uint32_t style = static_cast<std::uint32_t>(optional_int(count, args, 1).value_or(0));
  if ((style & runtime::kBoxSystemModal) == 0) style |= runtime::kBoxTaskModal;
  const ValueRecord* caption = given_argument(count, args, 2);
  // The owner is read only when a fourth argument was passed at all.
  const std::uintptr_t owner = count >= 4 ? owner_handle(args[3]) : 0;
  const int button = runtime::message_box(message ? message.get() : "",
                                          caption != nullptr ? text_argument(*caption) : "信息：", style, owner);
  return_int(result, pressed_index(button));
}

}  // namespace quillet::text

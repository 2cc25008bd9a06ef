#include "runtime/message_box.h"

#include <utility>

#include "runtime/platform.h"

namespace quillet::runtime {
namespace {
MessageBoxPresenter& presenter() {
  static MessageBoxPresenter installed;
  return installed;
}
}  // namespace

int message_box(std::string_view text, std::string_view caption, std::uint32_t style,
                std::uintptr_t owner_handle) {
  if (presenter()) return presenter()(text, caption, style, owner_handle);
  return platform::show_message_box(text, caption, style, owner_handle);
}

MessageBoxPresenter set_message_box_presenter(MessageBoxPresenter replacement) {
  return std::exchange(presenter(), std::move(replacement));
}

}  // namespace quillet::runtime

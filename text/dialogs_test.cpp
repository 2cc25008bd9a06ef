#include "text/dialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/message_box.h"

namespace quillet::text {
namespace {

struct SeenBox {
  std::string text, caption;
  std::uint32_t style = 0;
  std::uintptr_t owner = 0;
};

class MessageBoxCommand : public testing::Test {
 protected:
  void answer_with(int button) {
    runtime::set_message_box_presenter([this, button](std::string_view text, std::string_view caption,
                                                      std::uint32_t style, std::uintptr_t owner) {
      seen = {std::string(text), std::string(caption), style, owner};
      return button;
    });
  }
  void TearDown() override { runtime::set_message_box_presenter({}); }
  SeenBox seen;
};

TEST_F(MessageBoxCommand, DefaultsAndTaskModal) {
  answer_with(runtime::kButtonOk);
  EXPECT_EQ(call::message_box("hello"), kPressedOk);
  EXPECT_EQ(seen.text, "hello");
  EXPECT_EQ(seen.caption, "\xD0\xC5\xCF\xA2\xA3\xBA");  // 信息：
  EXPECT_EQ(seen.style, 0x2000u);
  EXPECT_EQ(seen.owner, 0u);
}

TEST_F(MessageBoxCommand, SystemModalIsLeftAlone) {
  answer_with(runtime::kButtonOk);
  call::message_box("x", 0x1010);
  EXPECT_EQ(seen.style, 0x1010u);
}

TEST_F(MessageBoxCommand, PressedButtonsBecomeIndexes) {
  const std::pair<int, std::int32_t> cases[] = {{runtime::kButtonCancel, 1}, {runtime::kButtonAbort, 2},
                                                {runtime::kButtonRetry, 3},  {runtime::kButtonIgnore, 4},
                                                {runtime::kButtonYes, 5},    {runtime::kButtonNo, 6},
                                                {0, 0},                      {11, 0}};
  for (const auto& [button, index] : cases) {
    answer_with(button);
    EXPECT_EQ(call::message_box("q", 0x24, "c"), index) << button;
  }
  EXPECT_EQ(seen.style, 0x2024u);
  EXPECT_EQ(seen.caption, "c");
}

TEST_F(MessageBoxCommand, MessagesOfOtherTypesAndOwners) {
  answer_with(runtime::kButtonOk);
  invoke(MessageBox, 42);
  EXPECT_EQ(seen.text, "42");
  invoke(MessageBox, bool_record(true));
  EXPECT_EQ(seen.text, "\xD5\xE6");
  invoke(MessageBox, unit_record(1, 1, type_code::kEditBox));
  EXPECT_EQ(seen.text, "");

  call::message_box("m", 0, "c", int_record(0x1234));
  EXPECT_EQ(seen.owner, 0x1234u);
  invoke(MessageBox, "m", 0, "c");  // only three arguments: no owner
  EXPECT_EQ(seen.owner, 0u);
  set_window_handle_resolver([](std::uint32_t form, std::uint32_t) -> std::uintptr_t { return 0x5000 + form; });
  call::message_box("m", 0, "c", unit_record(3, 0, type_code::kWindow));
  EXPECT_EQ(seen.owner, 0x5003u);
  set_window_handle_resolver(nullptr);
}

}  // namespace
}  // namespace quillet::text

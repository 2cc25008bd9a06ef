#include "runtime/errors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "runtime/termination.h"
#include "runtime/test_support.h"

namespace quillet::runtime {
namespace {

using testing::Eq;
using testing_support::allocation_failure_message;
using testing_support::answer_boxes_on_stderr;
using testing_support::exited_fatally;
using testing_support::kBoxHeader;
using testing_support::kCodeLabel;
using testing_support::kErrorCaption;
using testing_support::kMessageLabel;
using testing_support::write_to_stderr;

TEST(ErrorBoxText, CodeWithoutMessageHasNoMessageLine) {
  EXPECT_EQ(error_box_text(4, ""), kBoxHeader + kCodeLabel + "4\r\n\r\n");
}

TEST(ErrorBoxText, CodeZeroShowsOnlyTheMessageLine) {
  const std::string message = allocation_failure_message(123);
  EXPECT_EQ(error_box_text(0, message), kBoxHeader + kMessageLabel + message + "\r\n");
}

TEST(ErrorBoxText, CodeAndMessageTogether) {
  EXPECT_EQ(error_box_text(11, "x"), kBoxHeader + kCodeLabel + "11\r\n\r\n" + kMessageLabel + "x\r\n");
  EXPECT_EQ(error_box_text(0, ""), kBoxHeader);
  EXPECT_EQ(error_box_text(-3, ""), kBoxHeader + kCodeLabel + "-3\r\n\r\n");
}

TEST(ErrorTable, HoldsElevenMessagesAndNothingElse) {
  EXPECT_EQ(runtime_error_message(0), nullptr);
  EXPECT_EQ(runtime_error_message(12), nullptr);
  EXPECT_EQ(runtime_error_message(-1), nullptr);
  // 数组成员引用下标必须大于等于1
  EXPECT_STREQ(runtime_error_message(kErrorIndexBelowOne),
               "\xCA\xFD\xD7\xE9\xB3\xC9\xD4\xB1\xD2\xFD\xD3\xC3\xCF\xC2\xB1\xEA\xB1\xD8\xD0\xEB\xB4\xF3\xD3\xDA\xB5\xC8\xD3\xDA" "1");
  // 数据或数组类型不匹配
  EXPECT_STREQ(runtime_error_message(kErrorTypeMismatch),
               "\xCA\xFD\xBE\xDD\xBB\xF2\xCA\xFD\xD7\xE9\xC0\xE0\xD0\xCD\xB2\xBB\xC6\xA5\xC5\xE4");
  // 所提供参数的数据类型不符合要求
  EXPECT_STREQ(runtime_error_message(11),
               "\xCB\xF9\xCC\xE1\xB9\xA9\xB2\xCE\xCA\xFD\xB5\xC4\xCA\xFD\xBE\xDD\xC0\xE0\xD0\xCD\xB2\xBB\xB7\xFB\xBA\xCF\xD2\xAA\xC7\xF3");
  for (int code = 1; code <= kLastTableErrorCode; ++code) {
    ASSERT_NE(runtime_error_message(code), nullptr) << code;
    EXPECT_GT(std::string(runtime_error_message(code)).size(), 10u) << code;
  }
}

TEST(ErrorDeathTest, RaisedErrorShowsOneErrorBoxAndEndsWithMinusOne) {
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        raise_error(4, "");
      },
      exited_fatally(), Eq(kErrorCaption + "|10|" + kBoxHeader + kCodeLabel + "4\r\n\r\n"));
}

TEST(ErrorDeathTest, NullMessageCountsAsEmpty) {
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        raise_error(0, nullptr);
      },
      exited_fatally(), Eq(kErrorCaption + "|10|" + kBoxHeader));
}

TEST(ErrorDeathTest, RaiseByCodeUsesTheTable) {
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        raise_error_by_code(kErrorTypeMismatch);
      },
      exited_fatally(),
      Eq(kErrorCaption + "|10|" + error_box_text(kErrorTypeMismatch, runtime_error_message(kErrorTypeMismatch))));
}

void write_exit_marker(int index) { write_to_stderr("exit callback " + std::to_string(index) + ";"); }

TEST(ErrorDeathTest, ExitCallbacksDoNotRunAfterAnError) {
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        add_exit_callback(write_exit_marker);
        raise_error(1, "boom");
      },
      exited_fatally(), Eq(kErrorCaption + "|10|" + error_box_text(1, "boom")));
}

TEST(ErrorDeathTest, ShutdownStepsStillRunAfterAnError) {
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        add_shutdown_step(ShutdownStage::CloseForms, [] { write_to_stderr("forms closed;"); });
        raise_error(2, "");
      },
      exited_fatally(), Eq(kErrorCaption + "|10|" + error_box_text(2, "") + "forms closed;"));
}

int hide_box_hook(int code, const char* message) {
  write_to_stderr("hook " + std::to_string(code) + " " + message + " count " + std::to_string(error_count()) + ";");
  return 1;
}

TEST(ErrorDeathTest, HookCanHideTheBoxButNotTheEnd) {
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        set_error_hook(hide_box_hook);
        raise_error(7, "m");
      },
      exited_fatally(), Eq("hook 7 m count 1;"));
}

int observing_hook(int code, const char*) {
  write_to_stderr("saw " + std::to_string(code) + (reporting_error() ? " while reporting;" : ";"));
  return 0;
}

TEST(ErrorDeathTest, HookReturningZeroLetsTheBoxShow) {
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        set_error_hook(observing_hook);
        raise_error(3, "");
      },
      exited_fatally(), Eq("saw 3 while reporting;" + kErrorCaption + "|10|" + error_box_text(3, "")));
}

int failing_hook(int, const char*) {
  write_to_stderr("hook;");
  raise_error(9, "inner");
}

TEST(ErrorDeathTest, ErrorInsideTheHookSkipsTheHookAndShowsItsBox) {
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        set_error_hook(failing_hook);
        raise_error(8, "outer");
      },
      exited_fatally(), Eq("hook;" + kErrorCaption + "|10|" + error_box_text(9, "inner")));
}

TEST(Errors, NothingIsReportedBeforeAnError) {
  EXPECT_EQ(error_count(), 0);
  EXPECT_FALSE(reporting_error());
}

}  // namespace
}  // namespace quillet::runtime

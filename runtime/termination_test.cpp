#include "runtime/termination.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "runtime/errors.h"
#include "runtime/test_support.h"

namespace quillet::runtime {
namespace {

using testing::Eq;
using testing_support::answer_boxes_on_stderr;
using testing_support::exited_fatally;
using testing_support::kErrorCaption;
using testing_support::write_to_stderr;

void mark_callback(int index) { write_to_stderr("callback " + std::to_string(index) + ";"); }

TEST(TerminationDeathTest, ShutdownRunsEveryStageInOrderThenExits) {
  EXPECT_EXIT(
      {
        // Registered out of order on purpose: the stage decides, not the registration.
        add_shutdown_step(ShutdownStage::ReleaseResources, [] { write_to_stderr("resources;"); });
        add_shutdown_step(ShutdownStage::UnloadLibraries, [] { write_to_stderr("libraries;"); });
        add_exit_callback(mark_callback);
        add_shutdown_step(ShutdownStage::CloseForms, [] {
          write_to_stderr(is_exiting() ? "forms while exiting;" : "forms;");
        });
        add_exit_callback(mark_callback);
        terminate(3);
      },
      testing::ExitedWithCode(3),
      Eq("forms while exiting;callback 0;callback 1;libraries;resources;"));
}

TEST(TerminationDeathTest, ZeroIsAnOrdinaryEnd) {
  EXPECT_EXIT(terminate(0), testing::ExitedWithCode(0), Eq(""));
}

void terminate_again(int index) {
  terminate(9);  // the shutdown already under way carries on
  write_to_stderr("callback " + std::to_string(index) + " went on;");
}

TEST(TerminationDeathTest, NestedTerminateReturnsAndTheFirstCodeWins) {
  EXPECT_EXIT(
      {
        add_exit_callback(terminate_again);
        add_exit_callback(mark_callback);
        terminate(4);
      },
      testing::ExitedWithCode(4), Eq("callback 0 went on;callback 1;"));
}

void fail_in_callback(int) { raise_error(5, "late"); }

TEST(TerminationDeathTest, ErrorDuringShutdownEndsAtOnce) {
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        add_exit_callback(fail_in_callback);
        add_exit_callback(mark_callback);
        terminate(0);
      },
      exited_fatally(), Eq(kErrorCaption + "|10|" + error_box_text(5, "late")));
}

// With no runtime window to forward to (always so natively), another thread ends the process
// itself and no exit callback runs.
TEST(TerminationDeathTest, OtherThreadEndsTheProcessWithItsCode) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        add_exit_callback(mark_callback);
        std::thread([] { terminate(6); }).join();
      },
      testing::ExitedWithCode(6), Eq(""));
}

}  // namespace
}  // namespace quillet::runtime

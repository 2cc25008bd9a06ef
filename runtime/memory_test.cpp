#include "runtime/memory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/test_support.h"

namespace quillet::runtime {
namespace {

using testing_support::allocation_failure_message;
using testing_support::answer_boxes_on_stderr;
using testing_support::exited_fatally;
using testing_support::kBoxHeader;
using testing_support::kErrorCaption;
using testing_support::kMessageLabel;

const char kTenByteConstant[] = "0123456789";
char zeroed_static_buffer[64];

TEST(Memory, ConstantsAreTheProgramsOwnStorage) {
  EXPECT_TRUE(is_constant(kTenByteConstant));
  EXPECT_TRUE(is_constant("literal"));
  EXPECT_TRUE(is_constant(zeroed_static_buffer));
  void* block = allocate(16);
  EXPECT_FALSE(is_constant(block));
  release(block);
  char on_stack[4] = {};
  EXPECT_FALSE(is_constant(on_stack));
  EXPECT_FALSE(is_constant(nullptr));
}

TEST(Memory, ReleaseIgnoresNullAndConstants) {
  release(nullptr);
  release(kTenByteConstant);
  release("another literal");
  EXPECT_STREQ(kTenByteConstant, "0123456789");
}

TEST(Memory, ReallocatingAConstantCopiesInsteadOfResizing) {
  auto* shrunk = static_cast<char*>(reallocate(const_cast<char*>(kTenByteConstant), 4));
  ASSERT_NE(shrunk, kTenByteConstant);
  EXPECT_FALSE(is_constant(shrunk));
  EXPECT_EQ(std::string(shrunk, 4), "0123");
  EXPECT_STREQ(kTenByteConstant, "0123456789");
  release(shrunk);

  // Growing copies the constant's bytes and leaves room for more.
  auto* grown = static_cast<char*>(reallocate(const_cast<char*>(kTenByteConstant), 32));
  EXPECT_EQ(std::memcmp(grown, kTenByteConstant, 11), 0);
  grown[31] = 'x';
  release(grown);
}

TEST(Memory, ReallocateKeepsContentsAndTreatsNullAsAllocate) {
  auto* block = static_cast<char*>(reallocate(nullptr, 8));
  std::memcpy(block, "abcdefg", 8);
  block = static_cast<char*>(reallocate(block, 100000));
  EXPECT_STREQ(block, "abcdefg");
  block = static_cast<char*>(reallocate(block, 3));
  EXPECT_EQ(std::string(block, 3), "abc");
  release(block);
}

TEST(Memory, ZeroByteAllocationIsARealBlock) {
  void* a = allocate(0);
  void* b = allocate(0);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(a, b);
  release(a);
  release(b);
}

TEST(Memory, RawHeapReportsFailureWithoutEndingTheProgram) {
  void* block = heap_allocate(10);
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "012345678", 10);
  fail_allocations_from(1);
  EXPECT_EQ(heap_allocate(10), nullptr);
  EXPECT_EQ(heap_reallocate(block, 20), nullptr);  // the old block stays valid
  fail_allocations_from(0);
  EXPECT_STREQ(static_cast<char*>(block), "012345678");
  heap_free(block);
  heap_free(nullptr);
}

// The seam counts every kind of request and refuses from the chosen one on.
TEST(Memory, RequestsAreCountedAndRefusedFromTheChosenOne) {
  const std::size_t before = allocation_count();
  void* a = heap_allocate(1);
  void* b = allocate(1);
  b = reallocate(b, 100);
  EXPECT_EQ(allocation_count(), before + 3);
  fail_allocations_from(2);
  void* first = heap_allocate(8);
  EXPECT_NE(first, nullptr);
  EXPECT_EQ(heap_allocate(8), nullptr);
  EXPECT_EQ(heap_allocate(8), nullptr);  // the heap stays exhausted
  fail_allocations_from(0);
  void* after = heap_allocate(8);
  EXPECT_NE(after, nullptr);
  heap_free(first);
  heap_free(after);
  heap_free(a);
  release(b);
}

// The system's own refusal of a request it cannot meet comes back as null as well.
TEST(MemoryDeathTest, TheSystemsRefusalReachesTheRawHeapCaller) {
  testing_support::ChildMayFailAllocations refused_allocations_return_null;
  EXPECT_EXIT(
      {
        constexpr std::size_t impossible = std::size_t{1} << 62;
        void* block = heap_allocate(10);
        const bool refused = heap_allocate(impossible) == nullptr && heap_reallocate(block, impossible) == nullptr;
        std::exit(refused ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

TEST(MemoryDeathTest, ARefusedRequestIsFatalWithTheByteCount) {
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        fail_allocations_from(1);
        allocate(12345);
      },
      exited_fatally(), testing::EndsWith(kErrorCaption + "|10|" + kBoxHeader + kMessageLabel +
                                          allocation_failure_message(12345) + "\r\n"));
}

constexpr std::size_t kImpossibleSize = std::size_t{1} << 62;

std::string expected_allocation_box() {
  return kErrorCaption + "|10|" + kBoxHeader + kMessageLabel + allocation_failure_message(kImpossibleSize) + "\r\n";
}

// The box is the last thing written; a sanitizer build may report the refused request first.
TEST(MemoryDeathTest, FailedAllocationIsFatalWithTheByteCount) {
  testing_support::ChildMayFailAllocations refused_allocations_return_null;
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        allocate(kImpossibleSize);
      },
      exited_fatally(), testing::EndsWith(expected_allocation_box()));
}

TEST(MemoryDeathTest, FailedReallocationIsFatalToo) {
  testing_support::ChildMayFailAllocations refused_allocations_return_null;
  EXPECT_EXIT(
      {
        answer_boxes_on_stderr();
        reallocate(allocate(8), kImpossibleSize);
      },
      exited_fatally(), testing::EndsWith(expected_allocation_box()));
}

}  // namespace
}  // namespace quillet::runtime

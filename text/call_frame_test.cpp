#include "text/call_frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "text/text_builder.h"

namespace quillet::text {
namespace {

// Commands written the way the libraries write theirs, to exercise the frame.

// Reports what it found in its result record on entry, so the test can see it was zeroed.
void ReportEntryResult(ValueRecord* result, std::int32_t, ValueRecord*) {
  return_int(result, static_cast<std::int32_t>(result->low | result->high | result->type));
  result->high = 0xABCD;  // a command may set any word; the caller gets all three back
}

void LeaveResultAlone(ValueRecord*, std::int32_t, ValueRecord*) {}

// Sum of an integer and an optional step (default 10).
void AddStep(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  const ValueRecord* step = given_argument(count, args, 1);
  return_int(result, int_value(args[0]) + (step != nullptr ? int_value(*step) : 10));
}
std::int32_t add_step(std::int32_t value, std::optional<std::int32_t> step = {}) {
  return int_value(invoke(AddStep, value, step));
}

// Joins a separator and one or more texts (a repeatable last parameter).
void JoinTexts(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  TextBuilder builder;
  const char* separator = text_value(args[0]);
  for (std::int32_t i = 1; i < count; ++i) {
    if (i > 1) builder.append(separator, std::strlen(separator));
    const char* piece = text_value(args[i]);
    builder.append(piece, std::strlen(piece));
  }
  return_text(result, builder.to_text());
}

void ArgumentWasNull(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_bool(result, text_value(args[0]) == nullptr);
}

void MaybeArray(ValueRecord* result, std::int32_t, ValueRecord* args) {
  if (bool_value(args[0])) {
    void* texts[] = {copy_text("x")};
    return_array(result, make_block_array(texts, 1));
  } else {
    return_array(result, nullptr);
  }
}

void EchoLong(ValueRecord* result, std::int32_t, ValueRecord* args) { return_long(result, long_value(args[0]) - 1); }
void HalveDouble(ValueRecord* result, std::int32_t, ValueRecord* args) { return_double(result, double_value(args[0]) / 2); }

// An object type: the constructor fills the cell, the destructor empties it.
struct Counter {
  int value = 0;
};
void CounterConstruct(ValueRecord*, std::int32_t, ValueRecord* args) {
  ObjectCell* cell = object_cell(args[0]);
  cell->object = new Counter;
  cell->constructed = 1;
}
void CounterDestroy(ValueRecord*, std::int32_t, ValueRecord* args) {
  ObjectCell* cell = object_cell(args[0]);
  delete static_cast<Counter*>(cell->object);
  cell->object = nullptr;
  cell->constructed = 0;
}
void CounterBump(ValueRecord* result, std::int32_t, ValueRecord* args) {
  auto* counter = static_cast<Counter*>(object_cell(args[0])->object);
  ++counter->value;
  if (std::int32_t* out = static_cast<std::int32_t*>(pointer_value(args[1]))) *out = counter->value;
  return_int(result, counter->value);
}

TEST(CallFrame, ResultStartsZeroedAndComesBackWhole) {
  const ValueRecord result = call_command(ReportEntryResult, 0, nullptr);
  EXPECT_EQ(int_value(result), 0);
  EXPECT_EQ(result.high, 0xABCDu);
  EXPECT_EQ(result.type, 0u);

  const ValueRecord untouched = invoke(LeaveResultAlone, 1, "x");
  EXPECT_EQ(untouched.low, 0u);
  EXPECT_EQ(untouched.high, 0u);
  EXPECT_EQ(untouched.type, 0u);
  EXPECT_EQ(take_text(untouched), nullptr);  // read as a text it is the empty text
}

TEST(CallFrame, OmittedArgumentMeansTheDefault) {
  EXPECT_EQ(add_step(1), 11);
  EXPECT_EQ(add_step(1, 5), 6);
  EXPECT_EQ(int_value(invoke(AddStep, 1, kOmitted)), 11);
  ValueRecord records[] = {int_record(2), omitted()};
  EXPECT_EQ(int_value(call_command(AddStep, 2, records)), 12);
  EXPECT_EQ(int_value(call_command(AddStep, 1, records)), 12);  // a short count too
}

TEST(CallFrame, NullTextArgumentsArriveAsTheStaticEmptyString) {
  EXPECT_FALSE(bool_value(invoke(ArgumentWasNull, static_cast<const char*>(nullptr))));
  const ValueRecord record = text_record(nullptr);
  EXPECT_EQ(text_value(record), kEmptyText);
  EXPECT_EQ(record.type, type_code::kText);
}

TEST(CallFrame, RepeatableLastParameterAndOwnedTextResult) {
  OwnedText joined = take_text(invoke(JoinTexts, "-", "a", "\xD6\xD0", "c"));
  ASSERT_NE(joined, nullptr);
  EXPECT_STREQ(joined.get(), "a-\xD6\xD0-c");
  EXPECT_EQ(take_text(invoke(JoinTexts, ",")), nullptr);
  // Releasing a result and then the static empty string: only the block goes back.
  runtime::release(joined.release());
  runtime::release(kEmptyText);
}

TEST(CallFrame, ArrayResultsAreNeverNull) {
  OwnedBlockArray empty = take_block_array(invoke(MaybeArray, false));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(array_dimension_count(empty.get()), 1);
  EXPECT_EQ(array_element_count(empty.get()), 0u);
  OwnedBlockArray one = take_block_array(invoke(MaybeArray, true));
  ASSERT_EQ(array_element_count(one.get()), 1u);
  EXPECT_STREQ(text_array_elements(one.get())[0], "x");
}

TEST(CallFrame, EightByteValuesUseBothWordsLowHalfFirst) {
  const ValueRecord big = long_record(0x0123456789ABCDEFll);
  EXPECT_EQ(big.low, 0x89ABCDEFu);
  EXPECT_EQ(big.high, 0x01234567u);
  EXPECT_EQ(long_value(invoke(EchoLong, big)), 0x0123456789ABCDEEll);
  EXPECT_EQ(long_value(invoke(EchoLong, long_record(std::numeric_limits<std::int64_t>::min() + 1))),
            std::numeric_limits<std::int64_t>::min());

  EXPECT_EQ(double_value(invoke(HalveDouble, -3.0)), -1.5);
  const ValueRecord when = date_time_record(46364.375);  // 2026-12-08 09:00
  EXPECT_EQ(when.type, type_code::kDateTime);
  EXPECT_EQ(double_value(when), 46364.375);
  EXPECT_TRUE(std::isnan(double_value(double_record(std::nan("")))));
  EXPECT_EQ(float_value(float_record(0.1f)), 0.1f);
}

TEST(CallFrame, PointersFillBothWordsOnA64BitBuild) {
  const auto address = static_cast<std::uintptr_t>(0x00007FF612345678ull & UINTPTR_MAX);
  const ValueRecord record = pointer_record(reinterpret_cast<void*>(address), type_code::kText);
  EXPECT_EQ(record.low, static_cast<std::uint32_t>(address));
  EXPECT_EQ(record.high, sizeof(void*) == 8 ? 0x00007FF6u : 0u);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pointer_value(record)), address);

  char* heap_text = copy_text("heap");
  EXPECT_EQ(text_value(text_record(heap_text)), heap_text);
  runtime::release(heap_text);
}

TEST(CallFrame, SmallIntegersSitInTheLowBits) {
  EXPECT_EQ(byte_record(0xFF).low, 0xFFu);
  EXPECT_EQ(short_record(-1).low, 0xFFFFu);
  EXPECT_EQ(int_record(-1).low, 0xFFFFFFFFu);
  EXPECT_EQ(bool_record(true).low, 1u);
  const ValueRecord unit = unit_record(3, 17, type_code::kEditBox);
  EXPECT_EQ(unit.low, 3u);
  EXPECT_EQ(unit.high, 17u);
  EXPECT_EQ(unit.type, 0x00010005u);
}

TEST(CallFrame, ObjectCellsAndVariablesPassedByAddress) {
  ObjectCell cell{};
  invoke(CounterConstruct, object_record(&cell, type_code::kRegex));
  ASSERT_NE(cell.object, nullptr);
  EXPECT_EQ(cell.constructed, 1u);
  std::int32_t seen = -1;
  invoke(CounterBump, object_record(&cell, type_code::kRegex), int_variable_record(&seen));
  EXPECT_EQ(int_value(invoke(CounterBump, object_record(&cell, type_code::kRegex), kOmitted)), 2);
  EXPECT_EQ(seen, 1);
  invoke(CounterDestroy, object_record(&cell, type_code::kRegex));
  EXPECT_EQ(cell.object, nullptr);
  EXPECT_EQ(cell.constructed, 0u);
}

TEST(TypeCodes, ClassifyBasicNumericArrayAndLibraryTypes) {
  using namespace type_code;
  for (TypeCode numeric : {kByte, kShort, kInt, kLong, kFloat, kDouble}) {
    EXPECT_TRUE(is_basic(numeric));
    EXPECT_TRUE(is_numeric(numeric));
  }
  for (TypeCode other : {kBool, kDateTime, kText, kByteArray, kSubroutine}) {
    EXPECT_TRUE(is_basic(other));
    EXPECT_FALSE(is_numeric(other));
  }
  EXPECT_EQ(array_of(kText), 0xA0000004u);
  EXPECT_TRUE(is_array(array_of(kText)));
  EXPECT_FALSE(is_array(kText));
  EXPECT_EQ(element_type(array_of(kInt)), kInt);
  for (TypeCode library : {kWindow, kEditBox, kCommonDlg, kPrinter, kRegex, kSearchResult, kBalloonTip}) {
    EXPECT_FALSE(is_basic(library));
    EXPECT_FALSE(is_array(library));
  }
  EXPECT_FALSE(is_basic(kNone));
}

}  // namespace
}  // namespace quillet::text

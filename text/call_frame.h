// The one calling frame between the application and every command library.
//
// A command receives its arguments as an array of ValueRecords and writes one ValueRecord as
// its result. A record is three 32-bit words on every platform: value low, value high, type.
// Values of 8 bytes (long integers, doubles, date-times, and pointers on a 64-bit build) fill
// both words, low half first. An omitted argument is a record of three zero words; a command
// treats type 0 as "not given" and applies its default.
//
// Ownership: blocks a command returns (texts, byte arrays, arrays) belong to the caller and go
// back through runtime::release (arrays of texts element by element: release_block_array).
// Arguments stay the caller's; a command never releases or keeps one. Text arguments are
// never null: text_record substitutes the static empty string.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>

#include "runtime/memory.h"
#include "text/text_value.h"
#include "text/values.h"

namespace quillet::text {

struct ValueRecord {
  std::uint32_t low;
  std::uint32_t high;
  std::uint32_t type;
};
static_assert(sizeof(ValueRecord) == 12, "a value record is three 32-bit words");
static_assert(std::is_trivially_copyable_v<ValueRecord>);

using TypeCode = std::uint32_t;

namespace type_code {
inline constexpr TypeCode kNone = 0;
// Basic types: 0x80000000-0xBFFFFFFF; low byte 0x01 marks a number.
inline constexpr TypeCode kByte = 0x80000101;
inline constexpr TypeCode kShort = 0x80000201;
inline constexpr TypeCode kInt = 0x80000301;
inline constexpr TypeCode kLong = 0x80000401;
inline constexpr TypeCode kFloat = 0x80000501;
inline constexpr TypeCode kDouble = 0x80000601;
inline constexpr TypeCode kBool = 0x80000002;
inline constexpr TypeCode kDateTime = 0x80000003;
inline constexpr TypeCode kText = 0x80000004;
inline constexpr TypeCode kByteArray = 0x80000005;
inline constexpr TypeCode kSubroutine = 0x80000006;
inline constexpr TypeCode kArrayOf = 0x20000000;  // added to a basic type
// Types defined by libraries: high 16 bits library number, low 16 bits type number.
inline constexpr TypeCode kWindow = 0x00010001;
inline constexpr TypeCode kMenu = 0x00010003;
inline constexpr TypeCode kEditBox = 0x00010005;
inline constexpr TypeCode kPicBox = 0x00010006;
inline constexpr TypeCode kGroupBox = 0x00010009;
inline constexpr TypeCode kLabel = 0x0001000A;
inline constexpr TypeCode kButton = 0x0001000B;
inline constexpr TypeCode kCheckBox = 0x0001000C;
inline constexpr TypeCode kRadioBox = 0x0001000D;
inline constexpr TypeCode kCommonDlg = 0x0001001F;
inline constexpr TypeCode kPrinter = 0x00010021;
inline constexpr TypeCode kRegex = 0x00030001;
inline constexpr TypeCode kSearchResult = 0x00030002;
inline constexpr TypeCode kBalloonTip = 0x00060001;

inline constexpr bool is_basic(TypeCode code) { return code >= 0x80000000u && code <= 0xBFFFFFFFu; }
inline constexpr bool is_array(TypeCode code) { return (code & kArrayOf) != 0 && is_basic(code & ~kArrayOf); }
inline constexpr bool is_numeric(TypeCode code) { return is_basic(code) && (code & 0xFF) == 0x01; }
inline constexpr TypeCode element_type(TypeCode array_code) { return array_code & ~kArrayOf; }
inline constexpr TypeCode array_of(TypeCode basic) { return basic | kArrayOf; }
}  // namespace type_code

// A command: fills *result from count records starting at args.
using Command = void (*)(ValueRecord* result, std::int32_t count, ValueRecord* args);

// Zeroes a result record, calls the command with it, and hands the record back.
ValueRecord call_command(Command command, std::int32_t count, ValueRecord* args);

// A variable of a library object type (regex, SearchResult): the object pointer and a flag that
// is 1 once the type's constructor has run. The application owns the cell, zero-filled, and
// calls the destructor command before letting it go.
struct ObjectCell {
  void* object;
  std::uint32_t constructed;
};

// ---- Packing values into words ------------------------------------------------------------

inline ValueRecord record_of_bits(std::uint64_t bits, TypeCode type) {
  return {static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(bits >> 32), type};
}
inline std::uint64_t bits_of(const ValueRecord& record) {
  return record.low | (static_cast<std::uint64_t>(record.high) << 32);
}

inline ValueRecord omitted() { return {0, 0, type_code::kNone}; }
inline bool is_given(const ValueRecord& record) { return record.type != type_code::kNone; }

inline ValueRecord pointer_record(const void* pointer, TypeCode type) {
  return record_of_bits(reinterpret_cast<std::uintptr_t>(pointer), type);
}
inline void* pointer_value(const ValueRecord& record) {
  return reinterpret_cast<void*>(static_cast<std::uintptr_t>(bits_of(record)));
}

inline ValueRecord byte_record(std::uint8_t value) { return {value, 0, type_code::kByte}; }
inline ValueRecord short_record(std::int16_t value) {
  return {static_cast<std::uint16_t>(value), 0, type_code::kShort};
}
inline ValueRecord int_record(std::int32_t value) { return {static_cast<std::uint32_t>(value), 0, type_code::kInt}; }
inline ValueRecord long_record(std::int64_t value) {
  return record_of_bits(static_cast<std::uint64_t>(value), type_code::kLong);
}
inline ValueRecord float_record(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return {bits, 0, type_code::kFloat};
}
inline ValueRecord double_record(double value, TypeCode type = type_code::kDouble) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return record_of_bits(bits, type);
}
inline ValueRecord date_time_record(double days) { return double_record(days, type_code::kDateTime); }
inline ValueRecord bool_record(bool value) { return {value ? 1u : 0u, 0, type_code::kBool}; }
inline ValueRecord text_record(const char* text) { return pointer_record(as_argument(text), type_code::kText); }
inline ValueRecord byte_array_record(const void* byte_array) { return pointer_record(byte_array, type_code::kByteArray); }
inline ValueRecord array_record(const void* array, TypeCode element) {
  return pointer_record(array, type_code::array_of(element));
}
inline ValueRecord object_record(ObjectCell* cell, TypeCode type) { return pointer_record(cell, type); }
// A variable the command writes to (an integer passed by reference).
inline ValueRecord int_variable_record(std::int32_t* variable) { return pointer_record(variable, type_code::kInt); }
// A form, window or control: form id in the low word, unit id in the high word.
inline ValueRecord unit_record(std::uint32_t form_id, std::uint32_t unit_id, TypeCode type) {
  return {form_id, unit_id, type};
}

// ---- Reading values out of words ------------------------------------------------------------

inline std::int32_t int_value(const ValueRecord& record) { return static_cast<std::int32_t>(record.low); }
inline std::int64_t long_value(const ValueRecord& record) { return static_cast<std::int64_t>(bits_of(record)); }
inline bool bool_value(const ValueRecord& record) { return record.low != 0; }
inline float float_value(const ValueRecord& record) {
  float value;
  std::memcpy(&value, &record.low, sizeof value);
  return value;
}
inline double double_value(const ValueRecord& record) {
  const std::uint64_t bits = bits_of(record);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}
inline const char* text_value(const ValueRecord& record) { return static_cast<const char*>(pointer_value(record)); }
inline ObjectCell* object_cell(const ValueRecord& record) { return static_cast<ObjectCell*>(pointer_value(record)); }

// The argument at index i when it was passed and given, else null: for optional parameters.
inline const ValueRecord* given_argument(std::int32_t count, const ValueRecord* args, std::int32_t index) {
  return index < count && is_given(args[index]) ? &args[index] : nullptr;
}

// Command-side readers: a text argument as bytes (null read as empty), optional numbers and
// logicals as "not given" when omitted or beyond the count.
inline std::string_view text_argument(const ValueRecord& record) {
  const char* text = text_value(record);
  return text != nullptr ? std::string_view(text) : std::string_view();
}
inline std::optional<std::int32_t> optional_int(std::int32_t count, const ValueRecord* args, std::int32_t index) {
  const ValueRecord* given = given_argument(count, args, index);
  return given != nullptr ? std::optional<std::int32_t>(int_value(*given)) : std::nullopt;
}
inline std::optional<bool> optional_bool(std::int32_t count, const ValueRecord* args, std::int32_t index) {
  const ValueRecord* given = given_argument(count, args, index);
  return given != nullptr ? std::optional<bool>(bool_value(*given)) : std::nullopt;
}

// ---- Writing results (the type word stays 0: the caller knows what a command returns) ---------

inline void return_int(ValueRecord* result, std::int32_t value) { result->low = static_cast<std::uint32_t>(value); }
inline void return_bool(ValueRecord* result, bool value) { result->low = value ? 1u : 0u; }
inline void return_long(ValueRecord* result, std::int64_t value) {
  const ValueRecord packed = long_record(value);
  result->low = packed.low;
  result->high = packed.high;
}
inline void return_double(ValueRecord* result, double value) {
  const ValueRecord packed = double_record(value);
  result->low = packed.low;
  result->high = packed.high;
}
inline void return_pointer(ValueRecord* result, const void* pointer) {
  const ValueRecord packed = pointer_record(pointer, type_code::kNone);
  result->low = packed.low;
  result->high = packed.high;
}
inline void return_text(ValueRecord* result, char* owned_text) { return_pointer(result, owned_text); }
// An array result is never null.
inline void return_array(ValueRecord* result, void* array) {
  return_pointer(result, array != nullptr ? array : make_empty_array());
}

// ---- Owning results in the application -------------------------------------------------------

struct ReleaseBlock {
  void operator()(const void* block) const { runtime::release(block); }
};
struct ReleaseBlockArray {
  void operator()(void* array) const { release_block_array(array); }
};
using OwnedText = std::unique_ptr<char, ReleaseBlock>;
using OwnedByteArray = std::unique_ptr<void, ReleaseBlock>;
using OwnedBlockArray = std::unique_ptr<void, ReleaseBlockArray>;  // array of texts or byte arrays

// ---- Typed calls: the helpers declared next to each command are built from these -------------

struct Omitted {};
inline constexpr Omitted kOmitted{};

inline ValueRecord to_record(Omitted) { return omitted(); }
inline ValueRecord to_record(const ValueRecord& record) { return record; }
inline ValueRecord to_record(std::int32_t value) { return int_record(value); }
inline ValueRecord to_record(bool value) { return bool_record(value); }
inline ValueRecord to_record(double value) { return double_record(value); }
inline ValueRecord to_record(const char* text) { return text_record(text); }
inline ValueRecord to_record(const OwnedText& text) { return text_record(text.get()); }
template <class T>
ValueRecord to_record(const std::optional<T>& value) {
  return value.has_value() ? to_record(*value) : omitted();
}

// Calls a command with one record per argument, converted by type.
template <class... Arguments>
ValueRecord invoke(Command command, const Arguments&... arguments) {
  if constexpr (sizeof...(Arguments) == 0) {
    return call_command(command, 0, nullptr);
  } else {
    ValueRecord records[] = {to_record(arguments)...};
    return call_command(command, static_cast<std::int32_t>(sizeof...(Arguments)), records);
  }
}

inline OwnedText take_text(const ValueRecord& result) { return OwnedText(static_cast<char*>(pointer_value(result))); }
inline OwnedByteArray take_byte_array(const ValueRecord& result) { return OwnedByteArray(pointer_value(result)); }
inline OwnedBlockArray take_block_array(const ValueRecord& result) { return OwnedBlockArray(pointer_value(result)); }

}  // namespace quillet::text

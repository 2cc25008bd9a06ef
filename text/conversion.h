// Conversions between values and text, the remainder, random numbers and the date-time.
//
// Double-byte contract: ToInteger reads a text after converting full-width digits and signs to
// ASCII (as ToHalfWidth does), so a lone lead byte at its end is dropped first. ToText of a
// byte array or numeric array takes its raw bytes up to the first 0x00 as text, whatever
// characters they form.
//
// A date-time is an OLE Automation date: days since 1899-12-30 00:00 as a double, the fraction
// being the time of day. Before it is split into parts it is clamped to years 100 to 9999.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "text/call_frame.h"

namespace quillet::text {

struct DateParts {
  int year, month, day, hour, minute, second;
};
DateParts split_date_time(double days);
double make_date_time(const DateParts& parts);

char* value_to_text(const ValueRecord& value);
// The same as bytes the caller keeps: a text argument as it is, any other value converted.
std::string value_text(const ValueRecord& value);
std::int32_t value_to_integer(const ValueRecord& value);
void* value_to_bytes(const ValueRecord& value);
double value_as_double(const ValueRecord& value);  // any numeric type; 0 for the others

// The generator: one state per thread (starting at 1), one seed counter per process.
void set_random_seed(std::optional<std::int32_t> seed);
std::int32_t random_number(std::optional<std::int32_t> minimum, std::optional<std::int32_t> maximum);
// The generator taken over by a loop of many draws and given back when the loop ends:
// draw(low, high) draws what random_number(low, high) would, for 0 <= low <= high.
class RandomDraws {
 public:
  RandomDraws();
  ~RandomDraws();
  RandomDraws(const RandomDraws&) = delete;
  RandomDraws& operator=(const RandomDraws&) = delete;
  std::int32_t draw(std::int32_t low, std::int32_t high) {
    if (low == high) return low;
    return low + static_cast<std::int32_t>(next() % (static_cast<std::uint32_t>(high - low) + 1));
  }
  // The next 15-bit draw itself, for a caller that picks its range after drawing: low + next()
  // % (high - low + 1) is draw(low, high) for low < high.
  std::uint32_t next() {
    state_ = state_ * 214013u + 2531011u;
    return (state_ >> 16) & 0x7FFF;
  }

 private:
  std::uint32_t state_;
};
// The largest value random_number can give for these bounds: each draw has 15 bits, so a range
// wider than 32,768 values is reached only in its first 32,768.
std::int32_t largest_random_number(std::optional<std::int32_t> minimum, std::optional<std::int32_t> maximum);

void ToText(ValueRecord* result, std::int32_t count, ValueRecord* args);
void ToInteger(ValueRecord* result, std::int32_t count, ValueRecord* args);
void ToBytes(ValueRecord* result, std::int32_t count, ValueRecord* args);
void Remainder(ValueRecord* result, std::int32_t count, ValueRecord* args);      // two or more numbers
void SetRandomSeed(ValueRecord* result, std::int32_t count, ValueRecord* args);  // [seed]
void RandomNumber(ValueRecord* result, std::int32_t count, ValueRecord* args);   // [minimum], [maximum]
void Now(ValueRecord* result, std::int32_t count, ValueRecord* args);
void SecondOf(ValueRecord* result, std::int32_t count, ValueRecord* args);

namespace call {
inline OwnedText to_text(const ValueRecord& value) { return take_text(invoke(ToText, value)); }
inline OwnedText to_text(double value) { return to_text(double_record(value)); }
inline std::int32_t to_integer(const ValueRecord& value) { return int_value(invoke(ToInteger, value)); }
inline std::int32_t to_integer(const char* text) { return to_integer(text_record(text)); }
inline OwnedByteArray to_bytes(const ValueRecord& value) { return take_byte_array(invoke(ToBytes, value)); }
inline double remainder(double value, double divisor) { return double_value(invoke(Remainder, value, divisor)); }
inline void set_random_seed(std::optional<std::int32_t> seed = {}) { invoke(SetRandomSeed, seed); }
inline std::int32_t random_number(std::optional<std::int32_t> minimum = {}, std::optional<std::int32_t> maximum = {}) {
  return int_value(invoke(RandomNumber, minimum, maximum));
}
inline double now() { return double_value(invoke(Now)); }
inline std::int32_t second_of(double date_time) { return int_value(invoke(SecondOf, date_time_record(date_time))); }
}  // namespace call

}  // namespace quillet::text

#include "text/conversion.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "runtime/errors.h"
#include "text/case_width.h"
#include "text/clock.h"

namespace quillet::text {
namespace {

constexpr double kFirstDay = -657434.0;  // 0100-01-01
constexpr double kLastDay = 2958465.0;   // 9999-12-31
constexpr std::int64_t kUnixEpochDay = 25569;  // 1970-01-01 as a day number

// Days since 1970-01-01 for a proleptic Gregorian date, and back (H. Hinnant's algorithms).
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civil_from_days(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

std::size_t element_size(TypeCode basic) {
  switch (basic) {
    case type_code::kByte: return 1;
    case type_code::kShort: return 2;
    case type_code::kInt:
    case type_code::kFloat:
    case type_code::kBool: return 4;
    case type_code::kLong:
    case type_code::kDouble:
    case type_code::kDateTime: return 8;
    default: return 0;
  }
}

// The bytes of a numeric array's elements, or an empty view for anything else.
std::string_view numeric_array_bytes(const ValueRecord& value) {
  if (!type_code::is_array(value.type) || !type_code::is_numeric(type_code::element_type(value.type))) return {};
  const void* array = pointer_value(value);
  if (array == nullptr) return {};
  return {static_cast<const char*>(array_elements(array)),
          array_element_count(array) * element_size(type_code::element_type(value.type))};
}

char* text_up_to_nul(std::string_view bytes) {
  return make_text(bytes.substr(0, std::min(bytes.size(), bytes.find('\0'))));
}

char* formatted(const char* format, auto... values) {
  char buffer[64];
  const int length = std::snprintf(buffer, sizeof buffer, format, values...);
  return make_text(buffer, static_cast<std::size_t>(std::clamp(length, 0, static_cast<int>(sizeof buffer) - 1)));
}

char* date_time_text(double days) {
  const DateParts d = split_date_time(days);
  char buffer[96];
  int length = std::snprintf(buffer, sizeof buffer, "%d年%d月%d日", d.year, d.month, d.day);
  const auto room = [&] { return sizeof buffer - static_cast<std::size_t>(length); };
  if (d.second != 0) {
    length += std::snprintf(buffer + length, room(), "%d时%d分%d秒", d.hour, d.minute, d.second);
  } else if (d.minute != 0) {
    length += std::snprintf(buffer + length, room(), "%d时%d分", d.hour, d.minute);
  } else if (d.hour != 0) {
    length += std::snprintf(buffer + length, room(), "%d时", d.hour);
  }
  return make_text(buffer, static_cast<std::size_t>(length));
}

// Truncation toward zero; NaN and values outside the integer range give the x86 "integer
// indefinite" value instead of undefined behaviour.
std::int32_t truncate_to_int(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// atoi over the half-width form: blanks, an optional sign, digits. Overflow saturates.
std::int32_t text_to_integer(std::string_view text) {
  OwnedText half(to_half_width(text));
  const char* p = half ? half.get() : "";
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::int64_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) value = std::min<std::int64_t>(value * 10 + (*p - '0'), std::int64_t{1} << 32);
  if (negative) value = -value;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

thread_local std::uint32_t random_state = 1;
std::atomic<std::uint32_t> seed_counter{0};

}  // namespace

DateParts split_date_time(double days) {
  if (std::isnan(days)) days = 0;
  days = std::clamp(days, kFirstDay, kLastDay);
  double whole = std::trunc(days);
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(days - whole) * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += 1;
  }
  DateParts parts{};
  civil_from_days(static_cast<std::int64_t>(whole) - kUnixEpochDay, parts.year, parts.month, parts.day);
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds % 3600 / 60);
  parts.second = static_cast<int>(seconds % 60);
  return parts;
}

double make_date_time(const DateParts& p) {
  const std::int64_t day = days_from_civil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) + kUnixEpochDay;
  return static_cast<double>(day) + (p.hour * 3600.0 + p.minute * 60.0 + p.second) / 86400.0;
}

double value_as_double(const ValueRecord& value) {
  switch (value.type) {
    case type_code::kByte: return value.low & 0xFF;
    case type_code::kShort: return static_cast<std::int16_t>(value.low);
    case type_code::kInt: return int_value(value);
    case type_code::kLong: return static_cast<double>(long_value(value));
    case type_code::kFloat: return float_value(value);
    case type_code::kDouble:
    case type_code::kDateTime: return double_value(value);
    default: return 0;
  }
}

char* value_to_text(const ValueRecord& value) {
  switch (value.type) {
    case type_code::kByte: return formatted("%u", value.low & 0xFFu);
    case type_code::kShort: return formatted("%d", static_cast<int>(static_cast<std::int16_t>(value.low)));
    case type_code::kInt: return formatted("%d", int_value(value));
    case type_code::kLong: return formatted("%lld", static_cast<long long>(long_value(value)));
    case type_code::kFloat: return formatted("%.6g", static_cast<double>(float_value(value)));
    case type_code::kDouble: return formatted("%.13g", double_value(value));
    case type_code::kBool: return copy_text(bool_value(value) ? "真" : "假");
    case type_code::kDateTime: return date_time_text(double_value(value));
    case type_code::kText: return copy_text(text_value(value));
    case type_code::kByteArray: {
      const void* bytes = pointer_value(value);
      return text_up_to_nul({reinterpret_cast<const char*>(byte_array_data(bytes)), byte_array_size(bytes)});
    }
    default: return text_up_to_nul(numeric_array_bytes(value));
  }
}

std::string value_text(const ValueRecord& value) {
  if (value.type == type_code::kText) return std::string(text_argument(value));
  const OwnedText converted(value_to_text(value));
  return converted ? std::string(converted.get()) : std::string();
}

std::int32_t value_to_integer(const ValueRecord& value) {
  switch (value.type) {
    case type_code::kInt:
    case type_code::kBool: return int_value(value);
    case type_code::kSubroutine: return static_cast<std::int32_t>(value.low);
    case type_code::kByte: return static_cast<std::int32_t>(value.low & 0xFF);
    case type_code::kShort: return static_cast<std::int16_t>(value.low);
    case type_code::kLong: return static_cast<std::int32_t>(value.low);
    case type_code::kFloat: return truncate_to_int(float_value(value));
    case type_code::kDouble: return truncate_to_int(double_value(value));
    case type_code::kText: return text_to_integer(text_argument(value));
    default: return 0;
  }
}

void* value_to_bytes(const ValueRecord& value) {
  if (value.type == type_code::kText) {
    const std::string_view text = text_argument(value);
    return make_byte_array(text.data(), text.size());
  }
  if (value.type == type_code::kByteArray) {
    const void* bytes = pointer_value(value);
    return make_byte_array(byte_array_data(bytes), byte_array_size(bytes));
  }
  if (const std::size_t size = element_size(value.type); size != 0) {
    unsigned char bytes[8];
    std::memcpy(bytes, &value.low, 4);
    std::memcpy(bytes + 4, &value.high, 4);
    return make_byte_array(bytes, size);
  }
  const std::string_view elements = numeric_array_bytes(value);
  return make_byte_array(elements.data(), elements.size());
}

void set_random_seed(std::optional<std::int32_t> seed) {
  if (seed) {
    random_state = static_cast<std::uint32_t>(*seed);
    return;
  }
  const std::uint32_t ticks = tick_count_ms();
  const std::uint32_t counter = seed_counter.load();
  seed_counter.store(counter + ((ticks + counter) & 0xFF) + 100);
  random_state = ticks + counter;
}

namespace {

// Negative bounds count as 0, and the bounds may come in either order.
std::pair<std::int32_t, std::int32_t> random_bounds(std::optional<std::int32_t> minimum,
                                                    std::optional<std::int32_t> maximum) {
  const std::int32_t low = std::max(minimum.value_or(0), 0);
  const std::int32_t high = std::max(maximum.value_or(0x7FFFFFFF), 0);
  return std::minmax(low, high);
}

constexpr std::uint32_t kLargestDraw = 0x7FFF;  // a draw has 15 bits

}  // namespace

std::int32_t random_number(std::optional<std::int32_t> minimum, std::optional<std::int32_t> maximum) {
  const auto [low, high] = random_bounds(minimum, maximum);
  if (low == high) return low;
  const std::uint32_t range = std::min<std::uint32_t>(static_cast<std::uint32_t>(high - low), 0x7FFFFFFE);
  random_state = random_state * 214013u + 2531011u;
  const std::uint32_t drawn = (random_state >> 16) & kLargestDraw;
  return low + static_cast<std::int32_t>(drawn % (range + 1));
}

RandomDraws::RandomDraws() : state_(random_state) {}
RandomDraws::~RandomDraws() { random_state = state_; }

std::int32_t largest_random_number(std::optional<std::int32_t> minimum, std::optional<std::int32_t> maximum) {
  const auto [low, high] = random_bounds(minimum, maximum);
  return low + static_cast<std::int32_t>(std::min(static_cast<std::uint32_t>(high - low), kLargestDraw));
}

void ToText(ValueRecord* result, std::int32_t, ValueRecord* args) { return_text(result, value_to_text(args[0])); }
void ToInteger(ValueRecord* result, std::int32_t, ValueRecord* args) { return_int(result, value_to_integer(args[0])); }
void ToBytes(ValueRecord* result, std::int32_t, ValueRecord* args) { return_pointer(result, value_to_bytes(args[0])); }

void Remainder(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  double running = count > 0 ? value_as_double(args[0]) : 0;
  for (std::int32_t i = 1; i < count; ++i) {
    const double divisor = value_as_double(args[i]);
    if (divisor == 0.0 || std::isnan(divisor)) runtime::raise_error(0, "不能求余数于零");
    running = std::fmod(running, divisor);
  }
  return_double(result, running);
}

void SetRandomSeed(ValueRecord*, std::int32_t count, ValueRecord* args) { set_random_seed(optional_int(count, args, 0)); }

void RandomNumber(ValueRecord* result, std::int32_t count, ValueRecord* args) {
  return_int(result, random_number(optional_int(count, args, 0), optional_int(count, args, 1)));
}

void Now(ValueRecord* result, std::int32_t, ValueRecord*) {
  const LocalTime now = local_time_now();
  return_double(result, make_date_time({now.year, now.month, now.day, now.hour, now.minute, now.second}));
}

void SecondOf(ValueRecord* result, std::int32_t, ValueRecord* args) {
  return_int(result, split_date_time(double_value(args[0])).second);
}

}  // namespace quillet::text

#include "forms/input_mode.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "text/call_frame.h"
#include "text/conversion.h"

namespace quillet::forms {
namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// An optional sign and the digits after it; anything later is ignored. Saturates.
std::int64_t leading_integer(std::string_view text) {
  text = trimmed(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::int64_t value = 0;
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    const int digit = c - '0';
    if (value > (kMax - digit) / 10) return negative ? std::numeric_limits<std::int64_t>::min() : kMax;
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

double leading_real(std::string_view text) {
  text = trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && std::isfinite(value) ? value : 0.0;
}

std::string integer_text(std::int64_t value, std::int64_t low, std::int64_t high) {
  if (value < low) value = low;
  if (value > high) value = high;
  return value == 0 ? std::string() : std::to_string(value);
}

// The numbers of a date-time text, whatever separates them.
std::vector<int> numbers_in(std::string_view text) {
  std::vector<int> numbers;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] < '0' || text[i] > '9') {
      i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;  // a Chinese unit such as 年 is two bytes
      continue;
    }
    int value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    numbers.push_back(value);
  }
  return numbers;
}

}  // namespace

bool accepts_character(std::uint32_t mode, std::uint32_t code) {
  if (code < 32) return true;
  const bool digit = code >= '0' && code <= '9';
  switch (mode) {
    case 3: case 6: case 7: case 8: return digit || code == '-';
    case 4: case 9: case 10: return digit || code == '-' || code == '.';
    case 5: return digit;
    default: return true;
  }
}

std::optional<std::string> normalised(std::uint32_t mode, std::string_view text) {
  switch (mode) {
    case 5: return integer_text(leading_integer(text), 0, 255);
    case 6: return integer_text(leading_integer(text), -32768, 32767);
    case 7: return integer_text(leading_integer(text), std::numeric_limits<std::int32_t>::min(),
                                std::numeric_limits<std::int32_t>::max());
    case 8: return integer_text(leading_integer(text), std::numeric_limits<std::int64_t>::min(),
                                std::numeric_limits<std::int64_t>::max());
    case 9: {
      const auto value = static_cast<float>(leading_real(text));
      return value == 0 ? std::string() : text::value_text(text::float_record(value));
    }
    case 10: {
      const double value = leading_real(text);
      return value == 0 ? std::string() : text::value_text(text::double_record(value));
    }
    case 11: {
      const std::optional<double> days = parse_date_time(text);
      return !days || *days == 0 ? std::string() : text::value_text(text::date_time_record(*days));
    }
    default: return std::nullopt;
  }
}

std::optional<double> parse_date_time(std::string_view text) {
  const std::vector<int> n = numbers_in(text);
  if (n.size() < 3 || n.size() > 6) return std::nullopt;
  const text::DateParts parts{n[0], n[1], n[2], n.size() > 3 ? n[3] : 0, n.size() > 4 ? n[4] : 0, n.size() > 5 ? n[5] : 0};
  if (parts.year < 100 || parts.year > 9999 || parts.month < 1 || parts.month > 12 || parts.day < 1 || parts.day > 31 ||
      parts.hour > 23 || parts.minute > 59 || parts.second > 59) {
    return std::nullopt;
  }
  const double days = text::make_date_time(parts);
  const text::DateParts back = text::split_date_time(days);
  if (back.day != parts.day || back.month != parts.month) return std::nullopt;  // 2月30日
  return days;
}

}  // namespace quillet::forms

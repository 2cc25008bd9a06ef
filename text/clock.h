// The two readings of the system clock the text commands need. Implemented for Windows in
// clock_win32.cpp and for the native build in clock_posix.cpp.
#pragma once

#include <cstdint>

namespace quillet::text {

struct LocalTime {
  int year, month, day, hour, minute, second;
};

LocalTime local_time_now();
std::uint32_t tick_count_ms();  // milliseconds since the system started, wrapping

}  // namespace quillet::text

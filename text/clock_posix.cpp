#include <time.h>

#include "text/clock.h"

namespace quillet::text {

LocalTime local_time_now() {
  const time_t now = time(nullptr);
  tm parts{};
  localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

std::uint32_t tick_count_ms() {
  timespec now{};
  // Milliseconds are all a tick count needs: the coarse clock gives them without a system call.
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u + static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
}

}  // namespace quillet::text

#include <windows.h>

#include "text/clock.h"

namespace quillet::text {

LocalTime local_time_now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::uint32_t tick_count_ms() { return GetTickCount(); }

}  // namespace quillet::text

// A monotonic clock for the benchmarks. Not <chrono>: its "µs" suffix has no GBK form, and
// these files are compiled to GBK like the rest.
#pragma once

#include <time.h>

namespace quillet::bench {

inline double seconds_now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace quillet::bench

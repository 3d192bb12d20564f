// Milliseconds of the monotonic clock, for the window tests' time limits.
#pragma once

#include <time.h>

namespace qarvex::testing {

inline long long NowMs() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}

}  // namespace qarvex::testing

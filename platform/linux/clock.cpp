#include <ctime>

#include "platform/system_time_and_locale.h"

namespace qarvex::platform {

namespace {

// The broken-down local time of the last whole second this thread asked
// for: the log reads the clock for every line, and converting to local time
// costs more than the rest of the reading. Time-zone and daylight-saving
// changes fall on whole seconds, so a second converted once stays right.
// Trivially destructible, so it is safe at thread and process exit.
struct LastSecond {
  time_t seconds = -1;
  tm local{};
};
thread_local LastSecond lastSecond;

}  // namespace

LocalDateTime SystemLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  if (lastSecond.seconds != now.tv_sec) {
    localtime_r(&now.tv_sec, &lastSecond.local);
    lastSecond.seconds = now.tv_sec;
  }
  const tm& local = lastSecond.local;
  LocalDateTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  // A leap second is shown as the last second of its minute.
  t.second = local.tm_sec > 59 ? 59 : local.tm_sec;
  t.millisecond = static_cast<int>(now.tv_nsec / 1000000);
  return t;
}

}  // namespace qarvex::platform

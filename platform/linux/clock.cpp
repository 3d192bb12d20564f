#include "platform/clock.h"

#include <ctime>
#include <utility>

namespace qarvex::platform {
namespace {

// Never destroyed: the log's stop line reads the clock during the library's
// static destruction.
std::function<LocalDateTime()>& ClockOverride() {
  static auto* clock = new std::function<LocalDateTime()>;
  return *clock;
}

LocalDateTime SystemLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  localtime_r(&now.tv_sec, &local);
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

}  // namespace

LocalDateTime NowLocal() {
  const auto& clock = ClockOverride();
  return clock ? clock() : SystemLocalTime();
}

void OverrideClock(std::function<LocalDateTime()> clock) { ClockOverride() = std::move(clock); }

}  // namespace qarvex::platform

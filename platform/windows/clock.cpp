#include "platform/clock.h"

#include <windows.h>

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
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  LocalDateTime t;
  t.year = local.wYear;
  t.month = local.wMonth;
  t.day = local.wDay;
  t.hour = local.wHour;
  t.minute = local.wMinute;
  t.second = local.wSecond;
  t.millisecond = local.wMilliseconds;
  return t;
}

}  // namespace

LocalDateTime NowLocal() {
  const auto& clock = ClockOverride();
  return clock ? clock() : SystemLocalTime();
}

void OverrideClock(std::function<LocalDateTime()> clock) { ClockOverride() = std::move(clock); }

}  // namespace qarvex::platform

#include <windows.h>

#include "platform/system_time_and_locale.h"

namespace qarvex::platform {

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

}  // namespace qarvex::platform

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "common/datetime.h"
#include "platform/clock.h"

namespace qarvex::platform {
namespace {

TEST(Clock, SystemTimeIsLocalWallTimeWithMilliseconds) {
  ::setenv("TZ", "Asia/Yekaterinburg", 1);  // +05:00: a UTC reading would be caught
  ::tzset();
  const std::time_t before = std::time(nullptr);
  const LocalDateTime now = NowLocal();
  tm local{};
  ::localtime_r(&before, &local);
  LocalDateTime expected{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour, local.tm_min, local.tm_sec, 0};
  ASSERT_TRUE(IsValidDateTime(now));
  EXPECT_GE(now.millisecond, 0);
  EXPECT_LE(now.millisecond, 999);
  EXPECT_LT(std::fabs(EncodeDateTime(now) - EncodeDateTime(expected)) * 86400.0, 2.0);
}

TEST(Clock, OverrideReplacesTheClockUntilCleared) {
  const LocalDateTime midnight{2024, 3, 6, 0, 0, 0, 0};
  OverrideClock([&] { return midnight; });
  EXPECT_EQ(NowLocal(), midnight);
  OverrideClock({});
  EXPECT_NE(NowLocal(), midnight);  // back on the system clock
}

}  // namespace
}  // namespace qarvex::platform

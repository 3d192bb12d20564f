// What each operating system supplies behind the replaceable clock and
// regional settings (platform/clock.h, platform/regional_settings.h): the
// shared code in replaceable_services.cpp adds caching and the test
// overrides on top.
#pragma once

#include "common/datetime.h"
#include "platform/regional_settings.h"

namespace qarvex::platform {

// The local wall-clock time with milliseconds.
LocalDateTime SystemLocalTime();

// The user's separators as the system reports them now.
RegionalSettings ReadSystemRegionalSettings();

}  // namespace qarvex::platform

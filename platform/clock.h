// Local wall-clock time, replaceable in tests (midnight roll-over, fixed
// dates on slips).
#pragma once

#include <functional>

#include "common/datetime.h"

namespace qarvex::platform {

LocalDateTime NowLocal();

// Replaces the clock until called with an empty function. Not thread-safe:
// for tests only.
void OverrideClock(std::function<LocalDateTime()> clock);

}  // namespace qarvex::platform

// The clock and the regional settings, each read from the system unless a
// test has replaced it.
#include "platform/replaceable_services.h"

#include <mutex>
#include <utility>

#include "platform/clock.h"
#include "platform/regional_settings.h"
#include "platform/system_time_and_locale.h"

namespace qarvex::platform {
namespace {

std::function<LocalDateTime()>& ClockOverride() {
  static std::function<LocalDateTime()> clock;
  return clock;
}

struct RegionalState {
  std::once_flag read;
  RegionalSettings system;
  std::optional<RegionalSettings> replaced;
};

RegionalState& TheRegionalState() {
  static RegionalState state;
  return state;
}

}  // namespace

void BuildReplaceableServices() {
  ClockOverride();
  TheRegionalState();
}

LocalDateTime NowLocal() {
  const auto& clock = ClockOverride();
  return clock ? clock() : SystemLocalTime();
}

void OverrideClock(std::function<LocalDateTime()> clock) { ClockOverride() = std::move(clock); }

const RegionalSettings& CurrentRegionalSettings() {
  RegionalState& state = TheRegionalState();
  if (state.replaced) return *state.replaced;
  // Read once: the user's settings do not change under a running client.
  std::call_once(state.read, [&] { state.system = ReadSystemRegionalSettings(); });
  return state.system;
}

void OverrideRegionalSettings(std::optional<RegionalSettings> settings) {
  TheRegionalState().replaced = settings;
}

}  // namespace qarvex::platform

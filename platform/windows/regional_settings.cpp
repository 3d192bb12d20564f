#include "platform/regional_settings.h"

#include <windows.h>

#include <mutex>

namespace qarvex::platform {
namespace {

// The first character of a locale item of the user's default locale, or
// `fallback` when the system has none.
char16_t LocaleCharacter(LCTYPE item, char16_t fallback) {
  wchar_t buffer[8] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, 8) <= 1) return fallback;
  return static_cast<char16_t>(buffer[0]);
}

RegionalSettings ReadFromSystem() {
  RegionalSettings settings;
  settings.decimalSeparator = LocaleCharacter(LOCALE_SDECIMAL, u'.');
  settings.dateSeparator = LocaleCharacter(LOCALE_SDATE, u'/');
  settings.timeSeparator = LocaleCharacter(LOCALE_STIME, u':');
  return settings;
}

struct State {
  std::once_flag read;
  RegionalSettings system;
  std::optional<RegionalSettings> replaced;
};

// Never destroyed, so log lines written during static destruction still
// find it.
State& TheState() {
  static auto* state = new State;
  return *state;
}

}  // namespace

const RegionalSettings& CurrentRegionalSettings() {
  State& state = TheState();
  if (state.replaced) return *state.replaced;
  std::call_once(state.read, [&] { state.system = ReadFromSystem(); });
  return state.system;
}

void OverrideRegionalSettings(std::optional<RegionalSettings> settings) {
  TheState().replaced = settings;
}

}  // namespace qarvex::platform

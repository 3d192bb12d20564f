#include <windows.h>

#include "platform/system_time_and_locale.h"

namespace qarvex::platform {
namespace {

// The first character of a locale item of the user's default locale, or
// `fallback` when the system has none.
char16_t LocaleCharacter(LCTYPE item, char16_t fallback) {
  wchar_t buffer[8] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, 8) <= 1) return fallback;
  return static_cast<char16_t>(buffer[0]);
}

}  // namespace

RegionalSettings ReadSystemRegionalSettings() {
  RegionalSettings settings;
  settings.decimalSeparator = LocaleCharacter(LOCALE_SDECIMAL, u'.');
  settings.dateSeparator = LocaleCharacter(LOCALE_SDATE, u'/');
  settings.timeSeparator = LocaleCharacter(LOCALE_STIME, u':');
  return settings;
}

}  // namespace qarvex::platform

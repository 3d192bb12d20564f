#include <langinfo.h>
#include <locale.h>

#include "platform/linux/locale_separators.h"
#include "platform/system_time_and_locale.h"

namespace qarvex::platform {

// The environment's locale (LC_ALL, LC_*, LANG), as a program that called
// setlocale(LC_ALL, "") would see it; "C" when the environment names a
// locale that is not installed.
RegionalSettings ReadSystemRegionalSettings() {
  RegionalSettings settings;
  locale_t locale = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return settings;
  settings.decimalSeparator = linux_impl::FirstCharacter(::nl_langinfo_l(RADIXCHAR, locale), u'.');
  settings.dateSeparator = linux_impl::SeparatorOfFormat(::nl_langinfo_l(D_FMT, locale), u'/');
  settings.timeSeparator = linux_impl::SeparatorOfFormat(::nl_langinfo_l(T_FMT, locale), u':');
  ::freelocale(locale);
  return settings;
}

}  // namespace qarvex::platform

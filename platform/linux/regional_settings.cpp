#include "platform/regional_settings.h"

#include <langinfo.h>
#include <locale.h>

#include <mutex>

#include "platform/linux/locale_separators.h"

namespace qarvex::platform {
namespace {

// The environment's locale (LC_ALL, LC_*, LANG), as a program that called
// setlocale(LC_ALL, "") would see it; "C" when the environment names a
// locale that is not installed.
RegionalSettings ReadFromEnvironment() {
  RegionalSettings settings;
  locale_t locale = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return settings;
  settings.decimalSeparator = linux_impl::FirstCharacter(::nl_langinfo_l(RADIXCHAR, locale), u'.');
  settings.dateSeparator = linux_impl::SeparatorOfFormat(::nl_langinfo_l(D_FMT, locale), u'/');
  settings.timeSeparator = linux_impl::SeparatorOfFormat(::nl_langinfo_l(T_FMT, locale), u':');
  ::freelocale(locale);
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
  std::call_once(state.read, [&] { state.system = ReadFromEnvironment(); });
  return state.system;
}

void OverrideRegionalSettings(std::optional<RegionalSettings> settings) {
  TheState().replaced = settings;
}

}  // namespace qarvex::platform

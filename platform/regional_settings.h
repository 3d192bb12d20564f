// The user's regional separators. Read from the operating system on first use
// (Windows: the user default locale; Linux: the environment's locale, where
// the "C" locale gives '.', '/', ':'). Tests replace them.
#pragma once

#include <optional>

namespace qarvex::platform {

struct RegionalSettings {
  char16_t decimalSeparator = u'.';
  char16_t dateSeparator = u'/';
  char16_t timeSeparator = u':';
};

const RegionalSettings& CurrentRegionalSettings();

// Replaces the system's settings until called again with std::nullopt.
// Not thread-safe: for tests and start-up only.
void OverrideRegionalSettings(std::optional<RegionalSettings> settings);

}  // namespace qarvex::platform

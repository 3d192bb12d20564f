// Names of Windows releases for the log banner, chosen from the numbers the
// system reports.
#pragma once

#include <string>

#include "common/text.h"

namespace qarvex::platform::windows_impl {

struct SystemVersion {
  unsigned major = 0, minor = 0, build = 0, platformId = 0;
  std::u16string servicePack;
};

// "Windows 7", "Windows 10", ... or "Unknown" for an unlisted combination.
WStringView WindowsVersionName(unsigned major, unsigned minor, unsigned platformId);

// "<name> [<service pack> ](<major>.<minor>.<build>)".
WString DescribeWindows(const SystemVersion& v);

}  // namespace qarvex::platform::windows_impl

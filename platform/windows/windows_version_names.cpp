#include "platform/windows/windows_version_names.h"

namespace qarvex::platform::windows_impl {
namespace {

constexpr unsigned kPlatformNt = 2;  // VER_PLATFORM_WIN32_NT

// Indexed by the version code the selection below computes.
constexpr WStringView kWindowsVersionNames[] = {
    u"Unknown",      u"Windows 95",   u"Windows 98", u"Windows ME",    u"Windows NT 3",
    u"Windows NT 4", u"Windows 2000", u"Windows XP", u"Windows 2003",  u"Windows Vista",
    u"Windows 7",    u"Windows 8.0",  u"Windows 8.1", u"Windows 10"};

int VersionCode(unsigned major, unsigned minor, unsigned platformId) {
  switch (major) {
    case 3: return 4;
    case 4:
      if (minor == 0) return platformId == kPlatformNt ? 5 : 1;
      if (minor == 10) return 2;
      if (minor == 90) return 3;
      return 0;
    case 5:
      return minor <= 2 ? 6 + static_cast<int>(minor) : 0;
    case 6:
      return minor <= 3 ? 9 + static_cast<int>(minor) : 0;
    case 10:
      return minor == 0 ? 13 : 0;
    default:
      return 0;
  }
}

}  // namespace

WStringView WindowsVersionName(unsigned major, unsigned minor, unsigned platformId) {
  return kWindowsVersionNames[VersionCode(major, minor, platformId)];
}

WString DescribeWindows(const SystemVersion& v) {
  WString text(WindowsVersionName(v.major, v.minor, v.platformId));
  text += u' ';
  if (!v.servicePack.empty()) text += v.servicePack + u" ";
  text += u"(" + IntToText(v.major) + u"." + IntToText(v.minor) + u"." + IntToText(v.build) + u")";
  return text;
}

}  // namespace qarvex::platform::windows_impl

#include "platform/os_description.h"

#include <windows.h>

#include "platform/windows/win_system.h"
#include "platform/windows/windows_version_names.h"

namespace qarvex::platform {

// GetVersionExW reports what the process's manifest lets it see; the banner
// shows exactly that.
WString OsDescription() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;  // 276
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = ::GetVersionExW(&info);
#pragma GCC diagnostic pop
  if (!ok) return u"Unknown ";
  windows_impl::SystemVersion v;
  v.major = info.dwMajorVersion;
  v.minor = info.dwMinorVersion;
  v.build = info.dwBuildNumber;
  v.platformId = info.dwPlatformId;
  info.szCSDVersion[127] = 0;
  v.servicePack = windows_impl::FromWide(info.szCSDVersion);
  return windows_impl::DescribeWindows(v);
}

}  // namespace qarvex::platform

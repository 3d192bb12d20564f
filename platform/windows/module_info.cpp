#include "platform/module_info.h"

#include <windows.h>
#include <winver.h>

#include <vector>

#include "platform/windows/win_system.h"

namespace qarvex::platform {

// The module holding this code, in its long form (a short 8.3 name in the
// host's search path would otherwise show in the log).
WString ModuleFileName() {
  using namespace windows_impl;
  wchar_t name[MAX_PATH + 1] = {};
  const DWORD length = ::GetModuleFileNameW(OwnModule(), name, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  wchar_t longName[MAX_PATH + 1] = {};
  const DWORD longLength = ::GetLongPathNameW(name, longName, MAX_PATH);
  if (longLength == 0 || longLength >= MAX_PATH) return FromWide(name, length);
  return FromWide(longName, longLength);
}

FileVersion ReadFileVersion(WStringView fileName) {
  const WString name = fileName.empty() ? ModuleFileName() : WString(fileName);
  if (name.empty()) return {};
  const std::wstring wide = windows_impl::Wide(name);
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(wide.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<unsigned char> info(size);
  if (!::GetFileVersionInfoW(wide.c_str(), 0, size, info.data())) return {};
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
      fixedSize < sizeof(VS_FIXEDFILEINFO))
    return {};
  return {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
          LOWORD(fixed->dwFileVersionLS)};
}

}  // namespace qarvex::platform

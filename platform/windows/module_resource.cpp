#include "platform/module_resource.h"

#include <windows.h>

#include "platform/windows/win_system.h"

namespace qarvex::platform {

std::optional<std::string> ModuleRawResource(WStringView name) {
  using namespace windows_impl;
  const HMODULE module = OwnModule();
  const HRSRC found = ::FindResourceW(module, Wide(name).c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!found) return std::nullopt;
  const HGLOBAL loaded = ::LoadResource(module, found);
  const DWORD size = ::SizeofResource(module, found);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return std::string(static_cast<const char*>(bytes), size);
}

}  // namespace qarvex::platform

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

std::optional<WString> ModuleString(unsigned id) {
  const wchar_t* text = nullptr;
  // With a zero buffer size LoadStringW hands out a read-only pointer into
  // the resource itself (not zero-terminated) and returns its length.
  const int length = ::LoadStringW(windows_impl::OwnModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return std::nullopt;
  return windows_impl::FromWide(text, static_cast<std::size_t>(length));
}

}  // namespace qarvex::platform

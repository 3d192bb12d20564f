// Helpers shared by the Windows routines: UTF-16 paths as the system's wide
// strings, the system's text for an error code, and this module's handle.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/text.h"

namespace qarvex::platform::windows_impl {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide text on Windows is UTF-16");

// A zero-terminated copy of `text` for the wide (W) system calls.
inline std::wstring Wide(WStringView text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

inline WString FromWide(const wchar_t* text, std::size_t length) {
  return WString(reinterpret_cast<const char16_t*>(text), length);
}
inline WString FromWide(const wchar_t* text) { return FromWide(text, std::wcslen(text)); }

// The system's message for an error code (no trailing line end); a generic
// text with the number when the system has none.
std::string SystemErrorText(DWORD error);

// Throws Failure "<what> \"<path>\": <system text>".
[[noreturn]] void ThrowSystemError(std::string_view what, WStringView path, DWORD error);
// Throws Failure "<what>: <system text>".
[[noreturn]] void ThrowSystemError(std::string_view what, DWORD error);

// The module (DLL or program) that holds this code.
HMODULE OwnModule();

}  // namespace qarvex::platform::windows_impl

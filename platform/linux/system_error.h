// Messages for failed system calls, shared by the Linux routines.
#pragma once

#include <string>
#include <string_view>

#include "common/text.h"

namespace qarvex::platform::linux_impl {

// The system's text for an errno value (thread-safe).
std::string SystemErrorText(int error);

// Throws Failure "<what> \"<path>\": <system text>".
[[noreturn]] void ThrowSystemError(std::string_view what, WStringView path, int error);

// UTF-8 file-system name of a UTF-16 path.
inline std::string NativePath(WStringView path) { return ToUtf8(path); }

}  // namespace qarvex::platform::linux_impl

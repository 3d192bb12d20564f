// The process's current directory, which the terminal points at the
// component's folder when it connects (Windows only; nothing elsewhere).
#pragma once

#include "common/text.h"

namespace qarvex::platform {

// Throws Failure for an invalid path or a system error other than
// file-not-found / path-not-found.
void SetCurrentDirectoryToModuleFolder();

}  // namespace qarvex::platform

// Opening the log folder to every account on the machine: the log is shared
// by every user's client of the machine.
#pragma once

#include "platform/folder_access.h"

namespace qarvex {

// Throws Failure when the folder's rights cannot be read; a refused change
// of the rights is ignored and the folder is used as it is.
inline void GrantEveryoneFullAccess(WStringView folder) { platform::GrantEveryoneFullAccess(folder); }

}  // namespace qarvex

// Opening a folder to every account on the machine (the log folder is shared
// by every user's client).
#pragma once

#include "common/text.h"

namespace qarvex::platform {

// Windows: adds an inheritable GENERIC_ALL entry for Everyone unless one is
// there. Linux: mode 0777. Throws Failure with the system's text when the
// folder's rights cannot be read; a refused final write is ignored.
void GrantEveryoneFullAccess(WStringView folder);

}  // namespace qarvex::platform

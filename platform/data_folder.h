// The component's data folder: the one rule for where the journal and the
// log live, shared by every driver object and every process of the
// component on one machine.
#pragma once

#include "common/text.h"

namespace qarvex::platform {

// CommonAppDataFolder(name) followed by `name` and the path delimiter: the
// machine-wide application-data folder, or the user's when the machine-wide
// one cannot hold the sub-folder. Only the parent is created; the folder
// itself is left to the caller, which decides what a new one needs (the log
// opens it to everyone, the journal does not). Throws Failure when neither
// parent can be had.
WString ComponentDataFolder(WStringView name);

}  // namespace qarvex::platform

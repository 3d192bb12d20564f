// The emulated terminal's data folder: the machine-wide application-data
// folder followed by the component's extension name. It depends on nothing
// else, so every driver object and every process of the component on one
// machine shares it, and with it the operation journal.
#pragma once

#include "common/text.h"

namespace qarvex::emulator {

// The folder (ending with the path delimiter), created with every missing
// parent. Falls back to the user's application-data folder when the
// machine-wide one cannot hold it. Throws Failure when neither can be had; a
// folder that cannot be created shows up when the journal is opened in it.
WString DeviceFolderFor(WStringView extensionName);

}  // namespace qarvex::emulator

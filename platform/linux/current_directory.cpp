#include "platform/current_directory.h"

namespace qarvex::platform {

// Libraries are found by their path on Linux, so the working directory of
// the host process is left alone.
void SetCurrentDirectoryToModuleFolder() {}

}  // namespace qarvex::platform

#include "emulator/device_folder.h"

#include "platform/data_folder.h"
#include "platform/folders.h"

namespace qarvex::emulator {

WString DeviceFolderFor(WStringView extensionName) {
  const WString folder = platform::ComponentDataFolder(extensionName);
  platform::ForceDirectories(folder);
  return folder;
}

}  // namespace qarvex::emulator

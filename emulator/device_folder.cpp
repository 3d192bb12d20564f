#include "emulator/device_folder.h"

#include "platform/folders.h"

namespace qarvex::emulator {

WString DeviceFolderFor(WStringView extensionName) {
  const WString base = platform::IncludeTrailingDelimiter(platform::CommonAppDataFolder(extensionName));
  const WString folder = platform::IncludeTrailingDelimiter(base + WString(extensionName));
  platform::ForceDirectories(folder);
  return folder;
}

}  // namespace qarvex::emulator

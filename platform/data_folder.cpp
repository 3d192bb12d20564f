#include "platform/data_folder.h"

#include "platform/folders.h"

namespace qarvex::platform {

WString ComponentDataFolder(WStringView name) {
  return IncludeTrailingDelimiter(CommonAppDataFolder(name) + WString(name));
}

}  // namespace qarvex::platform

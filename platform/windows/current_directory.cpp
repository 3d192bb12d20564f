#include "platform/current_directory.h"

#include <windows.h>

#include "platform/folders.h"
#include "platform/module_info.h"
#include "platform/windows/win_system.h"

namespace qarvex::platform {

// Components loaded by the host resolve their helper files relative to the
// current directory, so it is pointed at the folder holding the module. A
// folder that has gone away is not worth failing a connection for.
void SetCurrentDirectoryToModuleFolder() {
  const WString folder = ExtractFilePath(ModuleFileName());
  if (::SetCurrentDirectoryW(windows_impl::Wide(folder).c_str())) return;
  const DWORD error = ::GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
  windows_impl::ThrowSystemError("Cannot change the current directory to", folder, error);
}

}  // namespace qarvex::platform

#include "platform/folder_access.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/linux/system_error.h"

namespace qarvex::platform {

// Every account may read, write and enter the folder. Files the component
// creates inside it get 0666 at creation (see AppendToFile).
void GrantEveryoneFullAccess(WStringView folder) {
  const std::string name = linux_impl::NativePath(folder);
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0)
    linux_impl::ThrowSystemError("Cannot read the rights of folder", folder, errno);
  const mode_t wanted = (info.st_mode & 07000) | 0777;  // keeps setgid/sticky bits
  if ((info.st_mode & 07777) == wanted) return;
  // A folder whose rights cannot be changed (another owner) is used as it is.
  (void)::chmod(name.c_str(), wanted);
}

}  // namespace qarvex::platform

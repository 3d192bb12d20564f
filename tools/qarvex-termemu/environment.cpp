#include "tools/qarvex-termemu/environment.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "tools/qarvex-termemu/failures.h"

namespace qarvex::cli {

namespace fs = std::filesystem;

std::string DefaultLibraryPath() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    const fs::path beside = self.parent_path() / "qarvex_termemu.so";
    if (fs::exists(beside, error)) return beside.string();
  }
  return QARVEX_COMPONENT_PATH;
}

void UseDataFolder(const std::string& folder) {
  std::error_code error;
  const fs::path absolute = fs::absolute(folder, error);
  if (error) throw UsageError("--data " + folder + ": " + error.message());
  const std::string path = absolute.lexically_normal().string();
  // XDG_DATA_DIRS is a ':'-separated list: such a folder cannot be named in it.
  if (path.find(':') != std::string::npos)
    throw UsageError("--data " + folder + ": the folder's path must not contain ':'");
  ::setenv("XDG_DATA_DIRS", path.c_str(), 1);
  ::setenv("XDG_DATA_HOME", path.c_str(), 1);
}

}  // namespace qarvex::cli

// On Linux the component takes its data folder from the first entry of
// XDG_DATA_DIRS (XDG_DATA_HOME when that one cannot be used).
#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "tools/qarvex-termemu/failures.h"
#include "tools/qarvex-termemu/program_platform.h"

namespace qarvex::cli {

std::filesystem::path ProgramFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : self.parent_path();
}

std::string_view ComponentFileName() { return "qarvex_termemu.so"; }

void PointDataFoldersAt(const std::string& folder) {
  // XDG_DATA_DIRS is a ':'-separated list: such a folder cannot be named in it.
  if (folder.find(':') != std::string::npos)
    throw UsageError("--data " + folder + ": the folder's path must not contain ':'");
  ::setenv("XDG_DATA_DIRS", folder.c_str(), 1);
  ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
}

bool StandardInputIsTerminal() { return ::isatty(STDIN_FILENO) == 1; }

}  // namespace qarvex::cli

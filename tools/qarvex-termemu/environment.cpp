#include "tools/qarvex-termemu/environment.h"

#include <filesystem>
#include <system_error>

#include "tools/qarvex-termemu/failures.h"
#include "tools/qarvex-termemu/program_platform.h"

namespace qarvex::cli {

namespace fs = std::filesystem;

std::string DefaultLibraryPath() {
  const fs::path folder = ProgramFolder();
  std::string names;
  for (const std::string& name : ComponentFileNames()) {
    const fs::path beside = folder / name;
    std::error_code error;
    if (!folder.empty() && fs::is_regular_file(beside, error)) return beside.string();
    names += (names.empty() ? "" : " or ") + name;
  }
  throw HostFailure("there is no " + names + " beside this program" +
                    (folder.empty() ? std::string() : " (in " + folder.string() + ")") +
                    ": name the component library with --library");
}

void UseDataFolder(const std::string& folder) {
  std::error_code error;
  const fs::path absolute = fs::absolute(folder, error);
  if (error) throw UsageError("--data " + folder + ": " + error.message());
  PointDataFoldersAt(absolute.lexically_normal().string());
}

}  // namespace qarvex::cli

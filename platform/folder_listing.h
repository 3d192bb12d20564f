// The file-system questions of the log viewer: what a folder holds, when a
// file last changed, and a file's bytes while another process may be
// appending to it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/text.h"

namespace qarvex::platform {

struct FolderEntry {
  WString name;  // without folder
  bool isFolder = false;
};

// The entries of `folder` (a path with a trailing delimiter), "." and ".."
// left out, in no particular order; sub-folders are not entered. A folder
// that cannot be read has no entries.
std::vector<FolderEntry> ListFolder(WStringView folder);

// A file's last-write time as a number that grows with time (the system's
// own resolution); false when there is no such file (a folder is no file).
bool TryGetLastWriteTime(WStringView path, std::int64_t& stamp);

// The whole file. Other processes may keep appending meanwhile. Raises
// Failure naming the file and the system's reason.
std::string ReadWholeFile(WStringView path);

}  // namespace qarvex::platform

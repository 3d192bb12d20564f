// Folders and paths. Paths are UTF-16 and folder results end with the path
// delimiter.
#pragma once

#include "common/text.h"

namespace qarvex::platform {

// '\\' on Windows, '/' elsewhere.
char16_t PathDelimiter();

// Adds the path delimiter unless the path already ends with one.
WString IncludeTrailingDelimiter(WStringView path);

// The machine-wide application-data folder, created if missing (Windows:
// CSIDL_COMMON_APPDATA; Linux: the first entry of $XDG_DATA_DIRS, default
// /usr/local/share). When the system cannot supply it, the user's
// application-data folder (CSIDL_APPDATA; $XDG_DATA_HOME, default
// ~/.local/share). On Linux the fallback is also taken when `subFolder`
// (when given) cannot be created or written in the machine-wide folder.
// Throws Failure when neither can be had.
WString CommonAppDataFolder(WStringView subFolder = {});

bool DirectoryExists(WStringView path);

// Makes a path absolute; throws Failure for a path the system refuses.
WString ExpandPath(WStringView path);

// Creates the folder and every missing parent. Returns false on failure
// (callers that need the folder find out when they use it).
bool ForceDirectories(WStringView path);

// The file-name part of a path (after the last delimiter).
WString ExtractFileName(WStringView path);
// The folder part of a path, including the trailing delimiter.
WString ExtractFilePath(WStringView path);

}  // namespace qarvex::platform

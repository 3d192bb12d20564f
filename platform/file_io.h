// File writes used by the log and its tests.
#pragma once

#include <string_view>

#include "common/text.h"

namespace qarvex::platform {

// Appends `bytes` to the file (creating it) so that concurrent appenders in
// this and other processes never interleave within one call and never fail
// merely because another process is appending at the same moment. A file the
// component creates is readable and writable by every account. Throws Failure
// naming the file and the system's reason on a real failure (no permission,
// disk full, missing folder).
void AppendToFile(WStringView path, std::string_view bytes);

// AppendToFile for a caller that keeps the folder's name between calls:
// false, with nothing written, when the folder the file goes in is gone.
bool AppendToFileIfFolderExists(WStringView path, std::string_view bytes);

// Creates or replaces the file with exactly `bytes`. Throws Failure.
void WriteWholeFile(WStringView path, std::string_view bytes);

bool FileExists(WStringView path);

}  // namespace qarvex::platform

// File writes used by the log and its tests.
#pragma once

#include <string>
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

// A file's name together with its form in the system's own calls, worked
// out once for a caller that appends to the same file again and again (the
// log: a line per host call). Immutable; copy freely.
class SystemFileName {
 public:
  SystemFileName() = default;
  explicit SystemFileName(WStringView path);
  const WString& path() const { return path_; }
  bool empty() const { return path_.empty(); }
  // The name as the system's calls take it where that is not UTF-16 (Linux:
  // UTF-8); empty where the UTF-16 path is the system's own form.
  const std::string& native() const { return native_; }

 private:
  WString path_;
  std::string native_;
};

// AppendToFile for a caller that keeps the folder's name between calls:
// false, with nothing written, when the folder the file goes in is gone.
bool AppendToFileIfFolderExists(const SystemFileName& file, std::string_view bytes);

// Creates or replaces the file with exactly `bytes`. Throws Failure.
void WriteWholeFile(WStringView path, std::string_view bytes);

bool FileExists(WStringView path);

}  // namespace qarvex::platform

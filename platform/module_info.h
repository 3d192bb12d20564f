// Facts about the component's own module file.
#pragma once

#include <cstdint>

#include "common/text.h"

namespace qarvex::platform {

// Full, resolved path of the module holding this code (Windows:
// GetModuleFileNameW + GetLongPathNameW; Linux: dladdr + realpath).
WString ModuleFileName();

struct FileVersion {
  std::uint16_t major = 0, minor = 0, release = 0, build = 0;
};

// The file version stamped into a module file; all zero when the file has
// none or cannot be read. An empty name means the component's own module.
FileVersion ReadFileVersion(WStringView fileName = {});

// "%d.%d.%d.%d"
WString FileVersionText(const FileVersion& v);

}  // namespace qarvex::platform

// The version of the component's own module, as the build stamped it.
#pragma once

#include <cstdint>

#include "common/text.h"

namespace qarvex::driver {

struct TFileVersion {
  std::uint16_t Major = 0, Minor = 0, Release = 0, Build = 0;
};

// Full path of the component's module.
WString ModuleFileName();
// The version stamped into a module file (the component's own when
// AFileName is empty); all zero when it carries none.
TFileVersion ReadFileVersion(WStringView AFileName = {});
// "Major.Minor.Release.Build", no padding.
WString FileVersionText(WStringView AFileName = {});

}  // namespace qarvex::driver

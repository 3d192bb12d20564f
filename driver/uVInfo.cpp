#include "driver/uVInfo.h"

#include "platform/module_info.h"

namespace qarvex::driver {

WString ModuleFileName() { return platform::ModuleFileName(); }

TFileVersion ReadFileVersion(WStringView AFileName) {
  const platform::FileVersion v = platform::ReadFileVersion(AFileName);
  return TFileVersion{v.major, v.minor, v.release, v.build};
}

WString FileVersionText(WStringView AFileName) {
  return platform::FileVersionText(platform::ReadFileVersion(AFileName));
}

}  // namespace qarvex::driver

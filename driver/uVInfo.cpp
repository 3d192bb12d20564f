#include "driver/uVInfo.h"

#include "platform/module_info.h"

namespace qarvex::driver {

WString ModuleFileName() { return platform::ModuleFileName(); }

TFileVersion ReadFileVersion(WStringView AFileName) {
  const platform::FileVersion v = platform::ReadFileVersion(AFileName);
  return TFileVersion{v.major, v.minor, v.release, v.build};
}

WString FileVersionText(WStringView AFileName) {
  const TFileVersion v = ReadFileVersion(AFileName);
  return IntToText(v.Major) + u'.' + IntToText(v.Minor) + u'.' + IntToText(v.Release) + u'.' +
         IntToText(v.Build);
}

}  // namespace qarvex::driver

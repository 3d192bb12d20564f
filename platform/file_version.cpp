#include "platform/module_info.h"

namespace qarvex::platform {

WString FileVersionText(const FileVersion& v) {
  WString text = IntToText(v.major);
  for (const std::uint16_t part : {v.minor, v.release, v.build}) {
    text += u'.';
    AppendIntText(text, part);
  }
  return text;
}

}  // namespace qarvex::platform

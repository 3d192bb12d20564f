// A shared library linking the platform layer, to check that the module
// routines describe the library they are linked into, not the program.
#include "common/text.h"
#include "platform/module_info.h"

extern "C" __attribute__((visibility("default"))) void ProbeModuleFileName(char* out, unsigned size) {
  const std::string path = qarvex::ToUtf8(qarvex::platform::ModuleFileName());
  path.copy(out, size - 1);
  out[path.size() < size ? path.size() : size - 1] = '\0';
}

#include "platform/module_resource.h"

namespace qarvex::platform {

// The Linux library is built without raw-data resources.
std::optional<std::string> ModuleRawResource(WStringView) { return std::nullopt; }

std::optional<WString> ModuleString(unsigned) { return std::nullopt; }

}  // namespace qarvex::platform
